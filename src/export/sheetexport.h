// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/csvdialect.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace velmora {

// The sheets that a search of the records window shows, and their departures and arrivals,
// as CSV files: every matching sheet, not only those in view.
class SheetExport {
public:
    struct Selection {
        // As the search fields hold them (typed in upper case); the records window's rule
        // applies: a driver text matches the sheets whose first or second driver begins with
        // it, a vehicle text those whose plate number begins with it, case-sensitively.
        QString driver;
        QString vehicle;
        // When both are valid, only the sheets dated from..to, both ends included.
        QDate from;
        QDate to;
        // The sheet list's order, as its ORDER BY line names it.
        QString order = QStringLiteral("DATAX, ORA");
    };

    SheetExport(QString dataDir, Selection selection);

    // Each returns the number of rows written, titles not counted.
    qsizetype writeSheets(const QString &path, CsvDialect dialect) const;
    // The lines of the selected sheets, sheet by sheet in the sheets' order, each sheet's in
    // date and time order.
    qsizetype writeLines(const QString &path, CsvDialect dialect) const;

    static QStringList sheetTitles();
    static QStringList lineTitles();

private:
    QString m_dataDir;
    Selection m_selection;
};

} // namespace velmora
