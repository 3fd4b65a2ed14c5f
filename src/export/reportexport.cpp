// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/reportexport.h"

#include "export/csvwriter.h"
#include "reports/periodsummary.h"
#include "reports/profitreport.h"

namespace velmora {

namespace {

constexpr int kMoneyDecimals = 2;

void writeProfitRow(CsvWriter &csv, const ProfitReport &report, const ProfitReport::Row &row,
                    bool total) {
    for (const ProfitReport::Column column : ProfitReport::columns(report.grouping())) {
        if (column != ProfitReport::Column::Name)
            csv.number(ProfitReport::value(row, column), ProfitReport::decimals(column));
        else if (report.grouping() == ProfitReport::Grouping::Month && !total)
            csv.date(row.month);
        else
            csv.text(row.name);
    }
    csv.endRow();
}

} // namespace

QStringList ReportExport::periodTitles() {
    return {QStringLiteral("Data"), QStringLiteral("Venit total (lei)"),
            QStringLiteral("Total consum (lei)")};
}

qsizetype ReportExport::writePeriod(const PeriodSummary &summary, const QString &path,
                                    CsvDialect dialect) {
    CsvWriter csv(path, dialect);
    csv.titles(periodTitles());
    for (const PeriodSummary::Day &day : summary.days()) {
        csv.date(day.day);
        csv.number(day.incomeAmount, kMoneyDecimals);
        csv.number(day.costAmount, kMoneyDecimals);
        csv.endRow();
    }
    csv.text(QStringLiteral("TOTAL"));
    csv.number(summary.incomeSum(), kMoneyDecimals);
    csv.number(summary.costSum(), kMoneyDecimals);
    csv.endRow();
    csv.commit();
    return summary.days().size();
}

qsizetype ReportExport::writeProfit(const ProfitReport &report, const QString &path,
                                    CsvDialect dialect) {
    CsvWriter csv(path, dialect);
    QStringList titles;
    for (const ProfitReport::Column column : ProfitReport::columns(report.grouping()))
        titles << ProfitReport::title(column, report.grouping());
    csv.titles(titles);
    for (const ProfitReport::Row &row : report.rows())
        writeProfitRow(csv, report, row, false);
    writeProfitRow(csv, report, report.total(), true);
    csv.commit();
    return report.rows().size();
}

} // namespace velmora
