// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/periodsummary.h"

#include "reports/reportstatements.h"
#include "store/query/query.h"
#include "store/sql/resultset.h"
#include "store/text/error.h"
#include "store/text/textform.h"

namespace velmora {

namespace {

// The engine's sums are exact decimals; the totals are added as decimals too.
std::optional<Decimal> amount(const ResultSet &result, qsizetype row, int column, Decimal &total) {
    if (column < 0 || result.isNull(row, column))
        return std::nullopt;
    const Decimal value = result.decimal(row, column);
    const auto sum = Decimal::add(total, value);
    if (!sum)
        throw EngineError(QStringLiteral("Totalul raportului nu mai incape intr-un numar."));
    total = *sum;
    return value;
}

QString general(const std::optional<Decimal> &value) {
    return value ? TextForm::general(*value) : QString();
}

} // namespace

PeriodSummary PeriodSummary::query(Query &lx, const QString &dataDir, QDate from, QDate to) {
    lx.clearSql();
    for (const QString &line : ReportStatements(dataDir).period(from, to))
        lx.addLine(line);
    lx.open();
    return fromResult(lx.result());
}

PeriodSummary PeriodSummary::fromResult(const ResultSet &result) {
    PeriodSummary summary;
    const int date = result.columnIndex(u"DATAX");
    const int income = result.columnIndex(u"TV");
    const int cost = result.columnIndex(u"TC");
    summary.m_days.reserve(result.rowCount());
    for (qsizetype row = 0; row < result.rowCount(); ++row) {
        Day day;
        day.day = date < 0 ? QDate() : result.date(row, date);
        day.date = date < 0 ? QString() : TextForm::date(day.day);
        day.incomeAmount = amount(result, row, income, summary.m_income);
        day.costAmount = amount(result, row, cost, summary.m_cost);
        day.income = general(day.incomeAmount);
        day.cost = general(day.costAmount);
        summary.m_days.append(day);
    }
    return summary;
}

QString PeriodSummary::periodLabel(QDate from, QDate to) {
    return QStringLiteral("in perioada ") + TextForm::date(from) + QStringLiteral(" - ") +
           TextForm::date(to);
}

QString PeriodSummary::totalIncome() const {
    return TextForm::general(m_income);
}

QString PeriodSummary::totalCost() const {
    return TextForm::general(m_cost);
}

} // namespace velmora
