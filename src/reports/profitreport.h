// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/text/decimal.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace velmora {

class ResultSet;

// What each vehicle, driver or month of a period earned after fuel: the sheets of the period
// grouped, with their kilometres, litres, fuel cost, income and what is left, and the same
// per kilometre. Lei are exact sums of the stored amounts; litres are each sheet's TKM x
// CONSUM / 100, added exactly and rounded to 2 decimals; the per-kilometre values are worked
// out from the exact sums and rounded once, half to even, to 3 decimals, the average
// consumption to 2. A row without kilometres has no per-kilometre values at all.
//
// rows() are the report's rows in the chosen order: the table, the chart and the exported
// file all show these, so they can never disagree.
class ProfitReport {
public:
    // By driver means by the sheet's first driver (SOFER1); the sheets where a person drove
    // second are counted in a column of their own, and a person who only ever drove second
    // has a row with that count alone.
    enum class Grouping { Vehicle, Driver, Month };
    enum class Order { Result, Name, Sheets, Km, FuelCost, Income, ResultPerKm, LitresPer100Km };
    enum class Column {
        Name,
        Sheets,
        SecondDriverSheets,
        Km,
        Litres,
        FuelCost,
        Income,
        Result,
        IncomePerKm,
        FuelCostPerKm,
        ResultPerKm,
        LitresPer100Km,
    };

    struct Row {
        // The plate number, the first driver, or the month ("mai 2024"); "TOTAL" on the total.
        QString name;
        // By month, the month's first day.
        QDate month;
        qint64 sheets = 0;
        qint64 secondDriverSheets = 0;
        Decimal km;
        Decimal litres;
        Decimal fuelCost;
        Decimal income;
        Decimal result;
        std::optional<Decimal> incomePerKm;
        std::optional<Decimal> fuelCostPerKm;
        std::optional<Decimal> resultPerKm;
        std::optional<Decimal> litresPer100Km;
    };

    ProfitReport() = default;
    // The sheets dated from..to, both ends included, grouped and sorted by result, worst
    // first. An end before the start is refused with "Perioada incorecta!".
    static ProfitReport query(const QString &dataDir, QDate from, QDate to, Grouping grouping);
    // From the rows of ReportStatements::profit(); the same result may be grouped again in
    // another way without reading the table again.
    static ProfitReport fromResult(const ResultSet &sheets, Grouping grouping);

    Grouping grouping() const { return m_grouping; }
    Order order() const { return m_order; }
    // A stable sort in the order's own direction (the worst or the largest first); ties, and
    // the rows without a per-kilometre value, by name in Romanian order, months by date.
    void sortBy(Order order);
    const QList<Row> &rows() const { return m_rows; }
    const Row &total() const { return m_total; }

    // The columns the report shows for a grouping, in order.
    static QList<Column> columns(Grouping grouping);
    // Titles in Romanian with their units: "Venit (lei)".
    static QString title(Column column, Grouping grouping);
    // The decimals a column's values are shown and exported with.
    static int decimals(Column column);
    // A numeric column's value; nullopt for the name and where a row has no value.
    static std::optional<Decimal> value(const Row &row, Column column);

    // The orders a choice lists, the default first.
    static QList<Order> orders();
    static QString orderName(Order order, Grouping grouping);

private:
    Grouping m_grouping = Grouping::Vehicle;
    Order m_order = Order::Result;
    QList<Row> m_rows;
    Row m_total;
};

} // namespace velmora
