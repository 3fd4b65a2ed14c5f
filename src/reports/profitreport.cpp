// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/profitreport.h"

#include "reports/period.h"
#include "reports/reportstatements.h"
#include "store/dbf/dbffield.h"
#include "store/sql/resultset.h"
#include "store/sql/sqlengine.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"
#include "store/text/romanianorder.h"

#include <QByteArrayView>
#include <QHash>
#include <algorithm>
#include <vector>

namespace velmora {

namespace {

constexpr int kMoneyDecimals = 2;
constexpr int kPerKmDecimals = 3;
constexpr int kLitreDecimals = 2;

[[noreturn]] void tooLarge() {
    throw EngineError(QStringLiteral("Totalul raportului nu mai incape intr-un numar."));
}

Decimal checked(const std::optional<Decimal> &value) {
    if (!value)
        tooLarge();
    return *value;
}

void addTo(Decimal &sum, const Decimal &value) {
    sum = checked(Decimal::add(sum, value));
}

// One group while the sheets are read: exact sums, litres still unrounded.
struct Sums {
    qint64 sheets = 0;
    qint64 secondDriverSheets = 0;
    Decimal km;
    Decimal litres;
    Decimal fuelCost;
    Decimal income;

    void addSheet(const Decimal &sheetKm, const Decimal &sheetLitres, const Decimal &cost,
                  const Decimal &sheetIncome) {
        ++sheets;
        addTo(km, sheetKm);
        addTo(litres, sheetLitres);
        addTo(fuelCost, cost);
        addTo(income, sheetIncome);
    }
};

// TKM x CONSUM / 100, exactly: the division only moves the point.
Decimal litresOf(const Decimal &km, const Decimal &consumption) {
    const Decimal product = checked(Decimal::multiply(km, consumption));
    if (product.scale() + 2 <= Decimal::kMaxScale)
        return Decimal::fromUnits(product.units(), product.scale() + 2);
    return checked(Decimal::divide(product, Decimal::fromUnits(100), Decimal::kMaxScale));
}

ProfitReport::Row rowOf(const Sums &sums) {
    ProfitReport::Row row;
    row.sheets = sums.sheets;
    row.secondDriverSheets = sums.secondDriverSheets;
    row.km = sums.km;
    row.litres = checked(sums.litres.rescaled(kLitreDecimals));
    row.fuelCost = sums.fuelCost;
    row.income = sums.income;
    row.result = checked(Decimal::subtract(sums.income, sums.fuelCost));
    if (sums.km.isZero())
        return row;
    row.incomePerKm = checked(Decimal::divide(sums.income, sums.km, kPerKmDecimals));
    row.fuelCostPerKm = checked(Decimal::divide(sums.fuelCost, sums.km, kPerKmDecimals));
    row.resultPerKm = checked(Decimal::divide(row.result, sums.km, kPerKmDecimals));
    // litres / km x 100: the exact litres with the point moved, never the rounded ones.
    const Decimal hundredfold = Decimal::fromUnits(sums.litres.units(), sums.litres.scale() - 2);
    row.litresPer100Km = checked(Decimal::divide(hundredfold, sums.km, kLitreDecimals));
    return row;
}

QString monthName(QDate month) {
    static const char *const kMonths[] = {"ianuarie",   "februarie", "martie",    "aprilie",
                                          "mai",        "iunie",     "iulie",     "august",
                                          "septembrie", "octombrie", "noiembrie", "decembrie"};
    return QLatin1String(kMonths[month.month() - 1]) + u' ' + QString::number(month.year());
}

int column(const ResultSet &result, QStringView name) {
    const int index = result.columnIndex(name);
    if (index < 0)
        throw EngineError(QStringLiteral("Tabelul foilor de parcurs nu are coloana %1.").arg(name));
    return index;
}

// -1, 0 or 1 when both have the value; rows without it go after those with it.
int compareOptional(const std::optional<Decimal> &a, const std::optional<Decimal> &b,
                    bool largestFirst) {
    if (!a || !b)
        return a ? -1 : (b ? 1 : 0);
    const int order = Decimal::compare(*a, *b);
    return largestFirst ? -order : order;
}

} // namespace

ProfitReport ProfitReport::query(const QString &dataDir, QDate from, QDate to, Grouping grouping) {
    Period::require(from, to);
    const ResultSet sheets =
        SqlEngine::open(ReportStatements(dataDir).profit(from, to).join(u'\n'));
    return fromResult(sheets, grouping);
}

ProfitReport ProfitReport::fromResult(const ResultSet &sheets, Grouping grouping) {
    const int vehicle = column(sheets, u"NRMAS");
    const int date = column(sheets, u"DATAX");
    const int driver1 = column(sheets, u"SOFER1");
    const int driver2 = column(sheets, u"SOFER2");
    const int kmColumn = column(sheets, u"TKM");
    const int consumption = column(sheets, u"CONSUM");
    const int cost = column(sheets, u"COST");
    const int income = column(sheets, u"TOTALVEN");

    // One pass over the rows; groups are found by the field's own bytes (a view into the
    // result), so no text is decoded per sheet.
    QHash<QByteArrayView, qsizetype> index;
    std::vector<QByteArrayView> keys;
    std::vector<Sums> groups;
    auto group = [&](QByteArrayView key) -> Sums & {
        const auto found = index.constFind(key);
        if (found != index.constEnd())
            return groups[static_cast<size_t>(*found)];
        index.insert(key, static_cast<qsizetype>(groups.size()));
        keys.push_back(key);
        return groups.emplace_back();
    };
    Sums total;
    for (qsizetype row = 0; row < sheets.rowCount(); ++row) {
        const Decimal km = sheets.decimal(row, kmColumn);
        const Decimal litres = litresOf(km, sheets.decimal(row, consumption));
        const Decimal fuelCost = sheets.decimal(row, cost);
        const Decimal sheetIncome = sheets.decimal(row, income);
        total.addSheet(km, litres, fuelCost, sheetIncome);
        QByteArrayView key;
        switch (grouping) {
        case Grouping::Vehicle:
            key = DbfField::textBytes(sheets.raw(row, vehicle));
            break;
        case Grouping::Driver:
            key = DbfField::textBytes(sheets.raw(row, driver1));
            break;
        case Grouping::Month:
            // yyyymm of the stored yyyymmdd; the statement's period leaves out empty dates.
            key = sheets.raw(row, date).first(6);
            break;
        }
        group(key).addSheet(km, litres, fuelCost, sheetIncome);
        const QByteArrayView second = DbfField::textBytes(sheets.raw(row, driver2));
        if (!second.isEmpty()) {
            ++total.secondDriverSheets;
            if (grouping == Grouping::Driver)
                ++group(second).secondDriverSheets;
        }
    }

    ProfitReport report;
    report.m_grouping = grouping;
    report.m_rows.reserve(static_cast<qsizetype>(groups.size()));
    for (size_t i = 0; i < groups.size(); ++i) {
        Row row = rowOf(groups[i]);
        if (grouping == Grouping::Month) {
            const QDate month = DbfField::date(keys[i].toByteArray() + "01");
            row.month = month;
            row.name = month.isValid() ? monthName(month) : QString();
        } else {
            row.name = Cp1250::decode(keys[i]);
        }
        report.m_rows.append(std::move(row));
    }
    report.m_total = rowOf(total);
    report.m_total.name = QStringLiteral("TOTAL");
    report.sortBy(Order::Result);
    return report;
}

void ProfitReport::sortBy(Order order) {
    m_order = order;
    const bool byMonth = m_grouping == Grouping::Month;
    auto byName = [byMonth](const Row &a, const Row &b) {
        if (byMonth)
            return a.month < b.month;
        return RomanianOrder::lessThan(a.name, b.name);
    };
    auto compare = [order](const Row &a, const Row &b) {
        switch (order) {
        case Order::Name:
            return 0;
        case Order::Result:
            return Decimal::compare(a.result, b.result);
        case Order::Sheets:
            return a.sheets == b.sheets ? 0 : (a.sheets > b.sheets ? -1 : 1);
        case Order::Km:
            return -Decimal::compare(a.km, b.km);
        case Order::FuelCost:
            return -Decimal::compare(a.fuelCost, b.fuelCost);
        case Order::Income:
            return -Decimal::compare(a.income, b.income);
        case Order::ResultPerKm:
            return compareOptional(a.resultPerKm, b.resultPerKm, false);
        case Order::LitresPer100Km:
            return compareOptional(a.litresPer100Km, b.litresPer100Km, true);
        }
        return 0;
    };
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](const Row &a, const Row &b) {
        const int first = compare(a, b);
        return first != 0 ? first < 0 : byName(a, b);
    });
}

QList<ProfitReport::Column> ProfitReport::columns(Grouping grouping) {
    QList<Column> all{Column::Name,
                      Column::Sheets,
                      Column::SecondDriverSheets,
                      Column::Km,
                      Column::Litres,
                      Column::FuelCost,
                      Column::Income,
                      Column::Result,
                      Column::IncomePerKm,
                      Column::FuelCostPerKm,
                      Column::ResultPerKm,
                      Column::LitresPer100Km};
    if (grouping != Grouping::Driver)
        all.removeOne(Column::SecondDriverSheets);
    return all;
}

QString ProfitReport::title(Column column, Grouping grouping) {
    switch (column) {
    case Column::Name:
        switch (grouping) {
        case Grouping::Vehicle:
            return QStringLiteral("Numar inmatric.");
        case Grouping::Driver:
            return QStringLiteral("Sofer 1");
        case Grouping::Month:
            return QStringLiteral("Luna");
        }
        return {};
    case Column::Sheets:
        return QStringLiteral("Foi");
    case Column::SecondDriverSheets:
        return QStringLiteral("Foi ca sofer 2");
    case Column::Km:
        return QStringLiteral("Parcurs (km)");
    case Column::Litres:
        return QStringLiteral("Carburant (L)");
    case Column::FuelCost:
        return QStringLiteral("Cost carburant (lei)");
    case Column::Income:
        return QStringLiteral("Venit (lei)");
    case Column::Result:
        return QStringLiteral("Rezultat (lei)");
    case Column::IncomePerKm:
        return QStringLiteral("Venit pe km (lei/km)");
    case Column::FuelCostPerKm:
        return QStringLiteral("Cost carburant pe km (lei/km)");
    case Column::ResultPerKm:
        return QStringLiteral("Rezultat pe km (lei/km)");
    case Column::LitresPer100Km:
        return QStringLiteral("Consum mediu (L/100 km)");
    }
    return {};
}

int ProfitReport::decimals(Column column) {
    switch (column) {
    case Column::Name:
    case Column::Sheets:
    case Column::SecondDriverSheets:
    case Column::Km:
        return 0;
    case Column::Litres:
    case Column::LitresPer100Km:
        return kLitreDecimals;
    case Column::FuelCost:
    case Column::Income:
    case Column::Result:
        return kMoneyDecimals;
    case Column::IncomePerKm:
    case Column::FuelCostPerKm:
    case Column::ResultPerKm:
        return kPerKmDecimals;
    }
    return 0;
}

std::optional<Decimal> ProfitReport::value(const Row &row, Column column) {
    switch (column) {
    case Column::Name:
        return std::nullopt;
    case Column::Sheets:
        return Decimal::fromUnits(row.sheets);
    case Column::SecondDriverSheets:
        return Decimal::fromUnits(row.secondDriverSheets);
    case Column::Km:
        return row.km;
    case Column::Litres:
        return row.litres;
    case Column::FuelCost:
        return row.fuelCost;
    case Column::Income:
        return row.income;
    case Column::Result:
        return row.result;
    case Column::IncomePerKm:
        return row.incomePerKm;
    case Column::FuelCostPerKm:
        return row.fuelCostPerKm;
    case Column::ResultPerKm:
        return row.resultPerKm;
    case Column::LitresPer100Km:
        return row.litresPer100Km;
    }
    return std::nullopt;
}

QList<ProfitReport::Order> ProfitReport::orders() {
    return {Order::Result,   Order::Name,   Order::Sheets,      Order::Km,
            Order::FuelCost, Order::Income, Order::ResultPerKm, Order::LitresPer100Km};
}

QString ProfitReport::orderName(Order order, Grouping grouping) {
    switch (order) {
    case Order::Result:
        return QStringLiteral("Rezultat, cel mai slab primul");
    case Order::Name:
        return grouping == Grouping::Month ? QStringLiteral("Luna, in ordine cronologica")
                                           : QStringLiteral("Nume, in ordine alfabetica");
    case Order::Sheets:
        return QStringLiteral("Foi, cele mai multe primele");
    case Order::Km:
        return QStringLiteral("Parcurs, cel mai lung primul");
    case Order::FuelCost:
        return QStringLiteral("Cost carburant, cel mai mare primul");
    case Order::Income:
        return QStringLiteral("Venit, cel mai mare primul");
    case Order::ResultPerKm:
        return QStringLiteral("Rezultat pe km, cel mai slab primul");
    case Order::LitresPer100Km:
        return QStringLiteral("Consum mediu, cel mai mare primul");
    }
    return {};
}

} // namespace velmora
