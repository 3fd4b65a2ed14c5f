// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/text/decimal.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace velmora {

class Query;
class ResultSet;

// The day-by-day income and fuel cost of a period, as the report prints them: one line per
// date with sheets, then the totals of both columns. Numbers are exact decimals in the
// general form; the totals are added as decimals, never as binary fractions.
class PeriodSummary {
public:
    struct Day {
        QString date;
        QString income;
        QString cost;
        // The same values as they are, for exports: nullopt where the text is empty.
        QDate day;
        std::optional<Decimal> incomeAmount;
        std::optional<Decimal> costAmount;
    };

    PeriodSummary() = default;
    // Puts the period query into lx, opens it and sums its rows; lx stays open.
    static PeriodSummary query(Query &lx, const QString &dataDir, QDate from, QDate to);
    // The result of the period query: DATAX, TV, TC.
    static PeriodSummary fromResult(const ResultSet &result);
    // "in perioada " + start + " - " + end, in the user's short date format.
    static QString periodLabel(QDate from, QDate to);

    const QList<Day> &days() const { return m_days; }
    QString totalIncome() const;
    QString totalCost() const;
    const Decimal &incomeSum() const { return m_income; }
    const Decimal &costSum() const { return m_cost; }

private:
    QList<Day> m_days;
    Decimal m_income;
    Decimal m_cost;
};

} // namespace velmora
