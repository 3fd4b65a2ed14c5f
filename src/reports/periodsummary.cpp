#include "reports/periodsummary.h"

#include "reports/reportstatements.h"
#include "store/query/query.h"
#include "store/sql/resultset.h"
#include "store/text/error.h"
#include "store/text/fixed4.h"
#include "store/text/textform.h"

namespace velmora {

namespace {

// The sums of DECIMAL(8,2) columns have at most two decimals, so reading them to four
// decimals keeps them exact, and adding ten-thousandths keeps the totals exact too.
QString amount(const ResultSet &result, qsizetype row, int column, qint64 &total) {
    if (column < 0 || result.isNull(row, column))
        return QString();
    const QString text = result.text(row, column);
    const auto value = Fixed4::parse(text);
    if (!value)
        throw EngineError(QStringLiteral("Suma %1 din raport nu este un numar.").arg(text));
    total += value->units();
    return value->toString();
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
        day.date = date < 0 ? QString() : TextForm::date(result.date(row, date));
        day.income = amount(result, row, income, summary.m_income);
        day.cost = amount(result, row, cost, summary.m_cost);
        summary.m_days.append(day);
    }
    return summary;
}

QString PeriodSummary::periodLabel(QDate from, QDate to) {
    return QStringLiteral("in perioada ") + TextForm::date(from) + QStringLiteral(" - ") +
           TextForm::date(to);
}

QString PeriodSummary::totalIncome() const {
    return Fixed4::fromUnits(m_income).toString();
}

QString PeriodSummary::totalCost() const {
    return Fixed4::fromUnits(m_cost).toString();
}

} // namespace velmora
