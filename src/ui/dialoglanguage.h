// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <memory>

class QCoreApplication;
class QTranslator;

namespace velmora {

// Qt's own dialogs and buttons in the program's Romanian: the print preview's toolbar, the
// print and page setup dialogs, the file dialog, the standard buttons and the edit fields'
// menus. Qt ships no Romanian translation of its texts, so the program carries its own
// (translations/qtbase_ro.ts, compiled into the program), found wherever the program runs.
class DialogLanguage {
public:
    // The translation for the locale's languages (a Romanian locale, or a language list that
    // names Romanian); null for any other, whose users then read Qt's English.
    static std::unique_ptr<QTranslator> forLocale(const QLocale &locale);
    // At start: the translation for the user's locale, handed to the application, which keeps
    // it to the end. True when one was installed.
    static bool install(QCoreApplication &application, const QLocale &locale = QLocale::system());

    // Where the compiled translation lives in the program's resources.
    static QString resourceFolder() { return QStringLiteral(":/translations"); }
};

} // namespace velmora
