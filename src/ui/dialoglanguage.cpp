// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialoglanguage.h"

#include <QCoreApplication>
#include <QTranslator>

namespace velmora {

std::unique_ptr<QTranslator> DialogLanguage::forLocale(const QLocale &locale) {
    auto translator = std::make_unique<QTranslator>();
    // Qt's file name rule (qtbase_ro_RO, then qtbase_ro) over the locale's user interface
    // languages, so that ro_MD or LANGUAGE=ro:en find the one Romanian file too.
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), resourceFolder()))
        return nullptr;
    return translator;
}

bool DialogLanguage::install(QCoreApplication &application, const QLocale &locale) {
    std::unique_ptr<QTranslator> translator = forLocale(locale);
    if (!translator)
        return false;
    QTranslator *kept = translator.release();
    kept->setParent(&application);
    return QCoreApplication::installTranslator(kept);
}

} // namespace velmora
