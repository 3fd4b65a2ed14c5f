// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/sheetplaceholders.h"

#include <QList>
#include <QString>

namespace velmora {

class DocumentOpener;
class PrintoutFiles;

// The printout of one trip sheet: its placeholders read from the tables (and the company's
// name from the settings), the template Foaie.rtf of the program's directory filled with
// them, every departure and arrival in a row of its own, and the result shown by the
// system's viewer.
class SheetPrintout {
public:
    explicit SheetPrintout(QString programDir);

    QString templatePath() const;

    // An InputError when the identifier is not a whole number or there is no such sheet.
    QList<Placeholder> placeholders(const QString &sheetId) const;
    // Fills the template into destination. A PrintoutError when the template cannot be used
    // (the message names its full path); a FileError when writing fails on the way, the
    // partial printout then staying on disk.
    void write(const QString &sheetId, const QString &destination) const;
    // The whole print: the first free printout file, the printout, and the viewer started on
    // it. Returns the printout's path. Nothing is written when the sheet cannot be read.
    QString print(const QString &sheetId, const PrintoutFiles &files, DocumentOpener &opener) const;

private:
    // The placeholders, and how many rows of the template's table they fill.
    struct Values {
        QList<Placeholder> placeholders;
        int rows = 0;
    };
    Values values(const QString &sheetId) const;
    void fill(const Values &values, const QString &destination) const;

    QString m_programDir;
};

} // namespace velmora
