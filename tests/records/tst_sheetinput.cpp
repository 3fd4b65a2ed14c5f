// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordsfixture.h"

#include "records/sheetinput.h"
#include "store/text/error.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

// What the sheet editor's fields must pass before a sheet is saved, the fuel cost it works
// out, and the number columns the rules measure against.
class TestSheetInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fuelCost_data() {
        QTest::addColumn<QString>("km");
        QTest::addColumn<QString>("consumption");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("cost");
        QTest::newRow("example") << u"120"_s << u"7.5"_s << u"4.2"_s << u"37.8"_s;
        QTest::newRow("km with decimals") << u"120.5"_s << u"8"_s << u"5"_s << u"48.2"_s;
        QTest::newRow("rounded to four decimals")
            << u"1"_s << u"1.234"_s << u"1.001"_s << u"0.0124"_s;
        QTest::newRow("whole") << u"100"_s << u"10"_s << u"6"_s << u"60"_s;
    }
    void fuelCost() {
        QFETCH(QString, km);
        QFETCH(QString, consumption);
        QFETCH(QString, price);
        QFETCH(QString, cost);
        QCOMPARE(
            SheetInput::cost(*Fixed4::parse(km), *Fixed4::parse(consumption), *Fixed4::parse(price))
                .toString(),
            cost);
    }

    void checks_data() {
        QTest::addColumn<QStringList>("fields"); // vehicle, driver1, driver2, parking, km, c, p
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        const int none = -1;
        QTest::newRow("all good") << QStringList(
                                         {u"B1"_s, u"A"_s, u""_s, u"P"_s, u"1"_s, u"1"_s, u"1"_s})
                                  << none << u""_s;
        QTest::newRow("no vehicle")
            << QStringList({u"  "_s, u"A"_s, u""_s, u"P"_s, u"1"_s, u"1"_s, u"1"_s})
            << int(SheetInput::Field::NrInmat) << u"Lipseste numarul de inmatriculare!"_s;
        QTest::newRow("no driver")
            << QStringList({u"B1"_s, u"   "_s, u"X"_s, u"P"_s, u"1"_s, u"1"_s, u"1"_s})
            << int(SheetInput::Field::Sofer1) << u"Lipseste Numele Soferului!"_s;
        QTest::newRow("no parking")
            << QStringList({u"B1"_s, u"A"_s, u""_s, u" "_s, u"1"_s, u"1"_s, u"1"_s})
            << int(SheetInput::Field::LocParcare) << u"Lipseste Locul de parcare!"_s;
        QTest::newRow("no km") << QStringList(
                                      {u"B1"_s, u"A"_s, u""_s, u"P"_s, u""_s, u"1"_s, u"1"_s})
                               << int(SheetInput::Field::TotKm) << u"Lipseste Numarul de Km!"_s;
        QTest::newRow("half a litre")
            << QStringList({u"B1"_s, u"A"_s, u""_s, u"P"_s, u"5"_s, u"0.5"_s, u"1"_s})
            << int(SheetInput::Field::Consum) << u"Lipseste Consumul la 100 Km!"_s;
        QTest::newRow("price below 1")
            << QStringList({u"B1"_s, u"A"_s, u""_s, u"P"_s, u"5"_s, u"1"_s, u"0.99"_s})
            << int(SheetInput::Field::PretL) << u"Lipseste Pretul la carburant!"_s;
        QTest::newRow("first problem wins")
            << QStringList({u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s})
            << int(SheetInput::Field::NrInmat) << u"Lipseste numarul de inmatriculare!"_s;

        // What the columns cannot hold is refused here, never by the engine after an
        // identifier was taken. TKM DECIMAL(8,0), CONSUM and PRETL DECIMAL(6,2).
        const auto sheet = [](const char *km, const char *consumption, const char *price) {
            return QStringList({u"B1"_s, u"A"_s, u""_s, u"P"_s, QString::fromLatin1(km),
                                QString::fromLatin1(consumption), QString::fromLatin1(price)});
        };
        const QString tooManyKm = u"Numarul de Km este prea mare! Cel mult 99999999 Km."_s;
        const QString tooMuchFuel = u"Consumul la 100 Km este prea mare! Cel mult 9999.99 L."_s;
        const QString tooDear = u"Pretul la carburant este prea mare! Cel mult 9999.99 lei/L."_s;
        QTest::newRow("km beyond TKM")
            << sheet("100000000", "1", "1") << int(SheetInput::Field::TotKm) << tooManyKm;
        QTest::newRow("km rounded past TKM")
            << sheet("99999999.5", "1", "1") << int(SheetInput::Field::TotKm) << tooManyKm;
        QTest::newRow("consumption beyond CONSUM")
            << sheet("1", "10000", "1") << int(SheetInput::Field::Consum) << tooMuchFuel;
        QTest::newRow("consumption rounded past CONSUM")
            << sheet("1", "9999.995", "1") << int(SheetInput::Field::Consum) << tooMuchFuel;
        QTest::newRow("price beyond PRETL")
            << sheet("1", "1", "10000") << int(SheetInput::Field::PretL) << tooDear;
        QTest::newRow("largest consumption and price")
            << sheet("1", "9999.99", "9999.99") << none << u""_s;

        // COST DECIMAL(8,2): the hint names the fields that, lowered alone, bring it in.
        QTest::newRow("largest cost") << sheet("99999999", "1", "1") << none << u""_s;
        QTest::newRow("cost of the largest fields")
            << sheet("99999999", "999.99", "999.99") << int(SheetInput::Field::TotKm)
            << u"Costul combustibilului ar fi 999979990100.2 lei, dar foaia tine cel mult "
               u"999999.99 lei! Micsorati Total Km."_s;
        QTest::newRow("cost a price can bring in")
            << sheet("99999999", "1", "1.01") << int(SheetInput::Field::TotKm)
            << u"Costul combustibilului ar fi 1009999.99 lei, dar foaia tine cel mult "
               u"999999.99 lei! Micsorati Total Km sau Pret combustibil /L."_s;
        QTest::newRow("cost any field can bring in")
            << sheet("150000", "30", "25") << int(SheetInput::Field::TotKm)
            << u"Costul combustibilului ar fi 1125000 lei, dar foaia tine cel mult 999999.99 "
               u"lei! Micsorati Total Km, Consum L/100 Km sau Pret combustibil /L."_s;
    }
    void checks() {
        QFETCH(QStringList, fields);
        QFETCH(int, field);
        QFETCH(QString, text);
        SheetInput input{fields[0], fields[1], fields[2], fields[3],
                         fields[4], fields[5], fields[6]};
        const auto problem = input.normaliseAndCheck();
        QCOMPARE(problem.has_value(), field >= 0);
        if (problem) {
            QCOMPARE(int(problem->field), field);
            QCOMPARE(problem->text, text);
        }
    }

    void columnLimits_data() {
        QTest::addColumn<int>("precision");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("largest");
        QTest::newRow("DECIMAL(8,2)") << 8 << 2 << u"999999.99"_s;
        QTest::newRow("DECIMAL(6,2)") << 6 << 2 << u"9999.99"_s;
        QTest::newRow("DECIMAL(8,0)") << 8 << 0 << u"99999999"_s;
        QTest::newRow("DECIMAL(9,4)") << 9 << 4 << u"99999.9999"_s;
    }
    void columnLimits() {
        QFETCH(int, precision);
        QFETCH(int, scale);
        QFETCH(QString, largest);
        const SheetInput::NumberColumn column{precision, scale};
        QCOMPARE(column.largest().toString(), largest);
        // Kept as the engine writes it: to the column's decimals, halves to even.
        QCOMPARE(column.rounded(column.largest()), column.largest());
        QVERIFY(column.holds(column.largest()));
        QVERIFY(column.holds(Fixed4::fromUnits(-column.largest().units())));
        // One step of the column beyond: refused, either way.
        qint64 step = 1;
        for (int i = scale; i < 4; ++i)
            step *= 10;
        QVERIFY(!column.holds(Fixed4::fromUnits(column.largest().units() + step)));
        QVERIFY(!column.holds(Fixed4::fromUnits(-column.largest().units() - step)));
        // The engine agrees: the largest value is written, one step more is refused.
        RecordsFixture f;
        const QString table = f.dataDir() + u"/Limita.dbf"_s;
        f.run({u"CREATE TABLE "_s + TextForm::quoted(table),
               u"(N DECIMAL(%1,%2) )"_s.arg(precision).arg(scale)});
        const auto insert = [&](qint64 units) {
            f.run({u"INSERT INTO "_s + TextForm::quoted(table), u"(N)"_s,
                   u"VALUES ("_s + Fixed4::fromUnits(units).toString() + u")"_s});
        };
        insert(column.largest().units());
        QVERIFY_THROWS_EXCEPTION(EngineError, insert(column.largest().units() + step));
        QCOMPARE(f.rows(u"Limita.dbf"_s, {u"N"_s}), QStringList{largest});
    }

    void roundedAsTheColumnKeepsIt_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("kept");
        QTest::newRow("half a cent down") << 2 << u"1.005"_s << u"1"_s;
        QTest::newRow("half a cent up") << 2 << u"1.015"_s << u"1.02"_s;
        QTest::newRow("over half a cent") << 2 << u"1.0051"_s << u"1.01"_s;
        QTest::newRow("negative") << 2 << u"-1.005"_s << u"-1"_s;
        QTest::newRow("whole, half down") << 0 << u"0.5"_s << u"0"_s;
        QTest::newRow("whole, half up") << 0 << u"1.5"_s << u"2"_s;
        QTest::newRow("four decimals kept") << 4 << u"1.0005"_s << u"1.0005"_s;
    }
    void roundedAsTheColumnKeepsIt() {
        QFETCH(int, scale);
        QFETCH(QString, value);
        QFETCH(QString, kept);
        const SheetInput::NumberColumn column{8, scale};
        QCOMPARE(column.rounded(*Fixed4::parse(value)).toString(), kept);
    }

    void namesAreTidiedBeforeSaving() {
        SheetInput input{QStringLiteral("  B 12  "), QStringLiteral("  SOFER   A "),
                         QStringLiteral(" X  Y"),    QStringLiteral("PARCARE    1"),
                         QStringLiteral("12"),       QStringLiteral("7"),
                         QStringLiteral("4")};
        QVERIFY(!input.normaliseAndCheck());
        QCOMPARE(input.vehicle, QStringLiteral("B 12"));
        QCOMPARE(input.driver1, QStringLiteral("SOFER A"));
        QCOMPARE(input.driver2, QStringLiteral("X Y"));
        QCOMPARE(input.parking, QStringLiteral("PARCARE 1"));
    }

    void hourOfText() {
        QCOMPARE(SheetInput::hourOfText(QStringLiteral("14:05")), QTime(14, 5));
        QCOMPARE(SheetInput::hourOfText(QStringLiteral("7:5")), QTime(7, 5));
        for (const char *bad : {"", "14", "1405", "25:00", "ab:cd", "14:60"})
            QVERIFY_THROWS_EXCEPTION(InputError, SheetInput::hourOfText(QString::fromLatin1(bad)));
    }
};

QTEST_GUILESS_MAIN(TestSheetInput)
#include "tst_sheetinput.moc"
