// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/csvdialect.h"

#include <QString>
#include <QStringList>

namespace velmora {

class PeriodSummary;
class ProfitReport;

// The rows and the total of a report as CSV, with the report's own columns: what the
// preview shows, as numbers and dates a spreadsheet can work with. A value a row does not
// have (a per-kilometre value without kilometres) is an empty field.
class ReportExport {
public:
    // Each returns the number of rows written, the titles and the total not counted.
    static qsizetype writePeriod(const PeriodSummary &summary, const QString &path,
                                 CsvDialect dialect);
    // By month, the month is its first day, a date a spreadsheet sorts and groups by.
    static qsizetype writeProfit(const ProfitReport &report, const QString &path,
                                 CsvDialect dialect);

    static QStringList periodTitles();
};

} // namespace velmora
