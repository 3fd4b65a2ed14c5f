// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/periodpresets.h"
#include "reports/profitreport.h"
#include "store/text/error.h"

#include "tripfixture.h"

#include <QTest>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;
using velmora::statements::Sheet;
using Grouping = ProfitReport::Grouping;
using Order = ProfitReport::Order;

namespace {

// Five sheets of January 2024 and one on each side of it. The figures the tests expect are
// worked out by hand from these values (see each test).
struct Trip {
    const char *id;
    QDate date;
    const char *vehicle;
    QString driver1;
    QString driver2;
    const char *km;
    const char *consumption;
    const char *cost;
    const char *income;
};

// ȘERBAN is typed with the comma-below letter and stored with the cedilla one.
const QString kSerban = u"\u0218ERBAN ANA"_s;
const QString kSerbanStored = u"\u015EERBAN ANA"_s;

const Trip kTrips[] = {
    {"1", QDate(2024, 1, 3), "B10AAA", u"POPESCU ION"_s, u"IONESCU DAN"_s, "120", "7.5", "37.80",
     "150.00"},
    // No kilometres: a sheet of waiting time that still brought income.
    {"2", QDate(2024, 1, 10), "B10AAA", u"IONESCU DAN"_s, u"POPESCU ION"_s, "0", "8", "0", "20.00"},
    {"3", QDate(2024, 1, 15), "B10AAA", u"POPESCU ION"_s, QString(), "280", "6.25", "127.20",
     "87.80"},
    {"4", QDate(2024, 1, 20), "B20BBB", u"POPESCU ION"_s, kSerban, "50", "9.13", "33.33", "40.01"},
    {"5", QDate(2024, 1, 31), "CJ01ZZZ", kSerban, u"TOMA VLAD"_s, "0", "7", "0", "0"},
    {"6", QDate(2023, 12, 31), "B10AAA", u"POPESCU ION"_s, QString(), "100", "8", "50.00",
     "500.00"},
    {"7", QDate(2024, 2, 1), "B10AAA", u"POPESCU ION"_s, QString(), "10", "10", "5.55", "5.00"},
};

void addTrips(TripFixture &trips) {
    for (const Trip &t : kTrips) {
        Sheet s;
        s.id = QLatin1String(t.id);
        s.date = t.date;
        s.vehicle = QLatin1String(t.vehicle);
        s.driver1 = t.driver1;
        s.driver2 = t.driver2;
        s.km = QLatin1String(t.km);
        s.consumption = QLatin1String(t.consumption);
        s.cost = QLatin1String(t.cost);
        trips.addSheet(s, QLatin1String(t.income));
    }
}

// A row as the report shows it: every column with its decimals, "-" where there is no value.
QStringList shown(const ProfitReport::Row &row, Grouping grouping) {
    QStringList cells;
    for (const ProfitReport::Column column : ProfitReport::columns(grouping)) {
        if (column == ProfitReport::Column::Name) {
            cells << row.name;
            continue;
        }
        const std::optional<Decimal> value = ProfitReport::value(row, column);
        if (!value) {
            cells << u"-"_s;
            continue;
        }
        QByteArray text;
        value->rescaled(ProfitReport::decimals(column))->appendFixed(text);
        cells << QString::fromLatin1(text);
    }
    return cells;
}

QStringList names(const ProfitReport &report) {
    QStringList out;
    for (const ProfitReport::Row &row : report.rows())
        out << row.name;
    return out;
}

} // namespace

class TestProfitReport : public QObject {
    Q_OBJECT

    TripFixture m_trips;

    ProfitReport january(Grouping grouping) {
        return ProfitReport::query(m_trips.dataDir(), QDate(2024, 1, 1), QDate(2024, 1, 31),
                                   grouping);
    }

private Q_SLOTS:
    void initTestCase() { addTrips(m_trips); }

    void columnsAndTitles() {
        QStringList titles;
        for (const ProfitReport::Column column : ProfitReport::columns(Grouping::Driver))
            titles << ProfitReport::title(column, Grouping::Driver);
        QCOMPARE(titles,
                 QStringList({u"Sofer 1"_s, u"Foi"_s, u"Foi ca sofer 2"_s, u"Parcurs (km)"_s,
                              u"Carburant (L)"_s, u"Cost carburant (lei)"_s, u"Venit (lei)"_s,
                              u"Rezultat (lei)"_s, u"Venit pe km (lei/km)"_s,
                              u"Cost carburant pe km (lei/km)"_s, u"Rezultat pe km (lei/km)"_s,
                              u"Consum mediu (L/100 km)"_s}));
        // The second-driver count belongs to the drivers' report only.
        QVERIFY(!ProfitReport::columns(Grouping::Vehicle)
                     .contains(ProfitReport::Column::SecondDriverSheets));
        QCOMPARE(ProfitReport::title(ProfitReport::Column::Name, Grouping::Vehicle),
                 u"Numar inmatric."_s);
        QCOMPARE(ProfitReport::title(ProfitReport::Column::Name, Grouping::Month), u"Luna"_s);
    }

    // B10AAA in January: sheets 1, 2 and 3.
    //   km      120 + 0 + 280 = 400
    //   litres  120 x 7.5 / 100 + 0 + 280 x 6.25 / 100 = 9 + 17.5 = 26.50
    //   cost    37.80 + 0 + 127.20 = 165.00;  income 150.00 + 20.00 + 87.80 = 257.80
    //   result  257.80 - 165.00 = 92.80
    //   per km  257.80 / 400 = 0.6445 -> 0.644 (half to even); 165 / 400 = 0.4125 -> 0.412;
    //           92.80 / 400 = 0.232;  L/100 km 26.5 / 400 x 100 = 6.625 -> 6.62
    // B20BBB: sheet 4 alone, 50 km, 50 x 9.13 / 100 = 4.565 L -> 4.56; 33.33 and 40.01 lei,
    //   result 6.68; 40.01 / 50 = 0.8002 -> 0.800; 33.33 / 50 = 0.6666 -> 0.667;
    //   6.68 / 50 = 0.1336 -> 0.134; 4.565 / 50 x 100 = 9.13
    // CJ01ZZZ: sheet 5, no kilometres: no per-km values.
    // Worst result first: CJ01ZZZ (0), B20BBB (6.68), B10AAA (92.80).
    void byVehicleWorkedOutByHand() {
        const ProfitReport report = january(Grouping::Vehicle);
        QCOMPARE(names(report), QStringList({u"CJ01ZZZ"_s, u"B20BBB"_s, u"B10AAA"_s}));
        QCOMPARE(shown(report.rows()[2], Grouping::Vehicle),
                 QStringList({u"B10AAA"_s, u"3"_s, u"400"_s, u"26.50"_s, u"165.00"_s, u"257.80"_s,
                              u"92.80"_s, u"0.644"_s, u"0.412"_s, u"0.232"_s, u"6.62"_s}));
        QCOMPARE(shown(report.rows()[1], Grouping::Vehicle),
                 QStringList({u"B20BBB"_s, u"1"_s, u"50"_s, u"4.56"_s, u"33.33"_s, u"40.01"_s,
                              u"6.68"_s, u"0.800"_s, u"0.667"_s, u"0.134"_s, u"9.13"_s}));
        QCOMPARE(shown(report.rows()[0], Grouping::Vehicle),
                 QStringList({u"CJ01ZZZ"_s, u"1"_s, u"0"_s, u"0.00"_s, u"0.00"_s, u"0.00"_s,
                              u"0.00"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s}));
    }

    // POPESCU ION drove first on sheets 1, 3 and 4, second on sheet 2.
    //   km      120 + 280 + 50 = 450
    //   litres  9 + 17.5 + 4.565 = 31.065 -> 31.06 (half to even)
    //   cost    37.80 + 127.20 + 33.33 = 198.33;  income 150.00 + 87.80 + 40.01 = 277.81
    //   result  79.48
    //   per km  277.81 / 450 = 0.61735.. -> 0.617; 198.33 / 450 = 0.44073.. -> 0.441;
    //           79.48 / 450 = 0.17662.. -> 0.177;  L/100 km 31.065 / 450 x 100 = 6.903.. -> 6.90
    // IONESCU DAN: first on the sheet without kilometres, second on sheet 1.
    // ȘERBAN ANA: first on sheet 5, second on sheet 4.  TOMA VLAD: only second, on sheet 5.
    // Two results of 0 stand in Romanian order: Ș before T (by bytes, Ş would come after T).
    void byDriverWorkedOutByHand() {
        const ProfitReport report = january(Grouping::Driver);
        QCOMPARE(names(report),
                 QStringList({kSerbanStored, u"TOMA VLAD"_s, u"IONESCU DAN"_s, u"POPESCU ION"_s}));
        QCOMPARE(
            shown(report.rows()[3], Grouping::Driver),
            QStringList({u"POPESCU ION"_s, u"3"_s, u"1"_s, u"450"_s, u"31.06"_s, u"198.33"_s,
                         u"277.81"_s, u"79.48"_s, u"0.617"_s, u"0.441"_s, u"0.177"_s, u"6.90"_s}));
        QCOMPARE(shown(report.rows()[2], Grouping::Driver),
                 QStringList({u"IONESCU DAN"_s, u"1"_s, u"1"_s, u"0"_s, u"0.00"_s, u"0.00"_s,
                              u"20.00"_s, u"20.00"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s}));
        QCOMPARE(shown(report.rows()[1], Grouping::Driver),
                 QStringList({u"TOMA VLAD"_s, u"0"_s, u"1"_s, u"0"_s, u"0.00"_s, u"0.00"_s,
                              u"0.00"_s, u"0.00"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s}));
        QCOMPARE(report.rows()[0].sheets, 1);
        QCOMPARE(report.rows()[0].secondDriverSheets, 1);
    }

    // All five sheets of January: 450 km, 31.065 L -> 31.06, 198.33 and 297.81 lei, result
    // 99.48; 297.81 / 450 = 0.6618 -> 0.662; 0.441; 99.48 / 450 = 0.22106.. -> 0.221; 6.90.
    // Four of them had a second driver. The total is the same whatever the grouping.
    void totalRow() {
        const QStringList expected{u"TOTAL"_s, u"5"_s,      u"4"_s,      u"450"_s,
                                   u"31.06"_s, u"198.33"_s, u"297.81"_s, u"99.48"_s,
                                   u"0.662"_s, u"0.441"_s,  u"0.221"_s,  u"6.90"_s};
        QCOMPARE(shown(january(Grouping::Driver).total(), Grouping::Driver), expected);
        QStringList withoutSecond = expected;
        withoutSecond.removeAt(2);
        QCOMPARE(shown(january(Grouping::Vehicle).total(), Grouping::Vehicle), withoutSecond);
        QCOMPARE(shown(january(Grouping::Month).total(), Grouping::Month), withoutSecond);
    }

    // December 2023 to February 2024: the sheets on each side of January join in.
    // December: 500.00 - 50.00 = 450.00; February: 5.00 - 5.55 = -0.55.
    void byMonth() {
        ProfitReport report = ProfitReport::query(m_trips.dataDir(), QDate(2023, 12, 1),
                                                  QDate(2024, 2, 29), Grouping::Month);
        QCOMPARE(names(report),
                 QStringList({u"februarie 2024"_s, u"ianuarie 2024"_s, u"decembrie 2023"_s}));
        QCOMPARE(report.rows()[0].month, QDate(2024, 2, 1));
        QCOMPARE(shown(report.rows()[0], Grouping::Month),
                 QStringList({u"februarie 2024"_s, u"1"_s, u"10"_s, u"1.00"_s, u"5.55"_s, u"5.00"_s,
                              u"-0.55"_s, u"0.500"_s, u"0.555"_s, u"-0.055"_s, u"10.00"_s}));
        QCOMPARE(report.rows()[1].result, Decimal::fromUnits(9948, 2));
        // By name, months go by the calendar, not by the alphabet.
        report.sortBy(Order::Name);
        QCOMPARE(names(report),
                 QStringList({u"decembrie 2023"_s, u"ianuarie 2024"_s, u"februarie 2024"_s}));
    }

    void orders_data() {
        QTest::addColumn<Order>("order");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("result, worst first")
            << Order::Result << QStringList{u"CJ01ZZZ"_s, u"B20BBB"_s, u"B10AAA"_s};
        QTest::newRow("name") << Order::Name << QStringList{u"B10AAA"_s, u"B20BBB"_s, u"CJ01ZZZ"_s};
        // A tie on the count is broken by name.
        QTest::newRow("sheets, most first")
            << Order::Sheets << QStringList{u"B10AAA"_s, u"B20BBB"_s, u"CJ01ZZZ"_s};
        QTest::newRow("km, most first")
            << Order::Km << QStringList{u"B10AAA"_s, u"B20BBB"_s, u"CJ01ZZZ"_s};
        QTest::newRow("fuel cost, largest first")
            << Order::FuelCost << QStringList{u"B10AAA"_s, u"B20BBB"_s, u"CJ01ZZZ"_s};
        QTest::newRow("income, largest first")
            << Order::Income << QStringList{u"B10AAA"_s, u"B20BBB"_s, u"CJ01ZZZ"_s};
        // Without kilometres there is no value to compare: such rows come last.
        QTest::newRow("result per km, worst first")
            << Order::ResultPerKm << QStringList{u"B20BBB"_s, u"B10AAA"_s, u"CJ01ZZZ"_s};
        QTest::newRow("consumption, thirstiest first")
            << Order::LitresPer100Km << QStringList{u"B20BBB"_s, u"B10AAA"_s, u"CJ01ZZZ"_s};
    }

    void orders() {
        QFETCH(Order, order);
        QFETCH(QStringList, rows);
        ProfitReport report = january(Grouping::Vehicle);
        report.sortBy(order);
        QCOMPARE(report.order(), order);
        QCOMPARE(names(report), rows);
        QVERIFY(!ProfitReport::orderName(order, Grouping::Vehicle).isEmpty());
    }

    void everyOrderIsOffered() {
        const QList<Order> offered = ProfitReport::orders();
        QCOMPARE(offered.first(), Order::Result);
        QCOMPARE(offered.size(), 8);
    }

    void periodEndsAreIncluded() {
        const ProfitReport oneDay = ProfitReport::query(m_trips.dataDir(), QDate(2024, 1, 31),
                                                        QDate(2024, 1, 31), Grouping::Vehicle);
        QCOMPARE(names(oneDay), QStringList{u"CJ01ZZZ"_s});
        const ProfitReport empty = ProfitReport::query(m_trips.dataDir(), QDate(2025, 1, 1),
                                                       QDate(2025, 1, 31), Grouping::Driver);
        QVERIFY(empty.rows().isEmpty());
        QCOMPARE(shown(empty.total(), Grouping::Driver),
                 QStringList({u"TOTAL"_s, u"0"_s, u"0"_s, u"0"_s, u"0.00"_s, u"0.00"_s, u"0.00"_s,
                              u"0.00"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s}));
    }

    void wrongPeriodIsRefused() {
        try {
            ProfitReport::query(m_trips.dataDir(), QDate(2024, 2, 1), QDate(2024, 1, 31),
                                Grouping::Vehicle);
            QFAIL("an end before the start was taken");
        } catch (const InputError &error) {
            QCOMPARE(error.message(), u"Perioada incorecta!"_s);
        }
    }

    void missingTableIsAnEngineError() {
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 ProfitReport::query(u"/nonexistent/Data"_s, QDate(2024, 1, 1),
                                                     QDate(2024, 1, 2), Grouping::Vehicle));
    }

    void presets_data() {
        using Preset = PeriodPresets::Preset;
        QTest::addColumn<Preset>("preset");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::newRow("this month, on its last day")
            << Preset::ThisMonth << QDate(2024, 3, 31) << QDate(2024, 3, 1) << QDate(2024, 3, 31);
        QTest::newRow("this month, a leap February")
            << Preset::ThisMonth << QDate(2024, 2, 10) << QDate(2024, 2, 1) << QDate(2024, 2, 29);
        QTest::newRow("last month, from the 31st")
            << Preset::LastMonth << QDate(2024, 3, 31) << QDate(2024, 2, 1) << QDate(2024, 2, 29);
        QTest::newRow("last month, in January")
            << Preset::LastMonth << QDate(2024, 1, 15) << QDate(2023, 12, 1) << QDate(2023, 12, 31);
        QTest::newRow("this year")
            << Preset::ThisYear << QDate(2024, 7, 4) << QDate(2024, 1, 1) << QDate(2024, 12, 31);
        QTest::newRow("last 30 days, today included")
            << Preset::Last30Days << QDate(2024, 3, 1) << QDate(2024, 2, 1) << QDate(2024, 3, 1);
        QTest::newRow("last 30 days, over a new year") << Preset::Last30Days << QDate(2024, 1, 10)
                                                       << QDate(2023, 12, 12) << QDate(2024, 1, 10);
    }

    void presets() {
        QFETCH(PeriodPresets::Preset, preset);
        QFETCH(QDate, today);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        const PeriodPresets::Range range = PeriodPresets::range(preset, today);
        QCOMPARE(range.from, from);
        QCOMPARE(range.to, to);
    }

    void presetNames() {
        QStringList shownNames;
        for (const PeriodPresets::Preset preset : PeriodPresets::all())
            shownNames << PeriodPresets::name(preset);
        QCOMPARE(shownNames, QStringList({u"Luna aceasta"_s, u"Luna trecuta"_s, u"Anul acesta"_s,
                                          u"Ultimele 30 de zile"_s}));
    }
};

QTEST_GUILESS_MAIN(TestProfitReport)
#include "tst_profitreport.moc"
