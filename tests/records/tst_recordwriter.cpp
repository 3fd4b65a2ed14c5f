// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordsfixture.h"

#include "records/recordwriter.h"
#include "records/sheetinput.h"
#include "store/text/error.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

const QStringList kLineColumns = {QStringLiteral("IDSOS"), QStringLiteral("IDFOAIE"),
                                  QStringLiteral("PLESOS"), QStringLiteral("TIMP"),
                                  QStringLiteral("SUMA")};

LineValues line(const QString &id, const QString &amount,
                const QString &kind = QStringLiteral("PLECARE")) {
    return {id, QStringLiteral("1"), kind, QStringLiteral("39102.5868"), amount};
}

QString income(RecordsFixture &f) {
    return f.sheets({QStringLiteral("TOTALVEN")}).value(0);
}

} // namespace

class TestRecordWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void incomeFollowsItsLines() {
        RecordsFixture f;
        f.addSheet(1, QDate(2007, 1, 20), QStringLiteral("14:05"), QStringLiteral("B12ABC"),
                   QStringLiteral("SOFER A"));
        RecordWriter writer(f.dataDir());

        writer.addLine(line(QStringLiteral("41"), QStringLiteral("150")));
        QCOMPARE(income(f), QStringLiteral("150"));
        QCOMPARE(f.lines(kLineColumns), QStringList({u"41|1|PLECARE|39102.5868|150"_s}));

        writer.changeLine(
            line(QStringLiteral("41"), QStringLiteral("150")),
            line(QStringLiteral("41"), QStringLiteral("200"), QStringLiteral("SOSIRE")));
        QCOMPARE(income(f), QStringLiteral("200"));
        QCOMPARE(f.lines(kLineColumns), QStringList({u"41|1|SOSIRE|39102.5868|200"_s}));

        writer.deleteLine(line(QStringLiteral("41"), QStringLiteral("200")));
        QCOMPARE(income(f), QStringLiteral("0"));
        QVERIFY(f.lines(kLineColumns).isEmpty());
    }

    // TOTALVEN holds at most 999999.99: the line that would push it over is
    // refused whole.
    void refusedIncomeLeavesBothTablesAsTheyWere() {
        RecordsFixture f;
        f.addSheet(1, QDate(2007, 1, 20), QStringLiteral("14:05"), QStringLiteral("B12ABC"),
                   QStringLiteral("SOFER A"), QString(), QStringLiteral("DEPOU 1"),
                   QStringLiteral("999990"));
        f.addLine(7, 1, QDateTime(QDate(2007, 1, 20), QTime(8, 0)), QStringLiteral("999990"));
        const QStringList linesBefore = f.lines(kLineColumns);
        RecordWriter writer(f.dataDir());

        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 writer.addLine(line(QStringLiteral("8"), QStringLiteral("50"))));
        QCOMPARE(income(f), QStringLiteral("999990"));
        QCOMPARE(f.lines(kLineColumns), linesBefore);

        const LineValues stored{QStringLiteral("7"), QStringLiteral("1"), QStringLiteral("PLECARE"),
                                f.lines({QStringLiteral("TIMP")}).first(),
                                QStringLiteral("999990")};
        LineValues bigger = stored;
        bigger.amount = QStringLiteral("999999.99");
        bigger.kind = QStringLiteral("SOSIRE");
        f.run(f.statements().addIncome(QStringLiteral("1"), QStringLiteral("9")));
        QVERIFY_THROWS_EXCEPTION(EngineError, writer.changeLine(stored, bigger));
        QCOMPARE(income(f), QStringLiteral("999999"));
        QCOMPARE(f.lines(kLineColumns), linesBefore);
    }

    void deletingASheetTakesItsLines() {
        RecordsFixture f;
        f.addSheet(1, QDate(2007, 1, 20), QStringLiteral("14:05"), QStringLiteral("B1"),
                   QStringLiteral("A"));
        f.addSheet(2, QDate(2007, 1, 20), QStringLiteral("15:05"), QStringLiteral("B2"),
                   QStringLiteral("B"));
        f.addLine(1, 1, QDateTime(QDate(2007, 1, 20), QTime(8, 0)), QStringLiteral("1"));
        f.addLine(2, 2, QDateTime(QDate(2007, 1, 20), QTime(9, 0)), QStringLiteral("2"));
        RecordWriter writer(f.dataDir());
        writer.deleteSheet(QStringLiteral("1"));
        QCOMPARE(f.sheets({QStringLiteral("IDFOAIE")}), QStringList({u"2"_s}));
        QCOMPARE(f.lines({QStringLiteral("IDSOS")}), QStringList({u"2"_s}));
    }

    void namesWithQuotesAreStoredAsTyped() {
        RecordsFixture f;
        RecordWriter writer(f.dataDir());
        SheetValues s;
        s.id = QStringLiteral("5");
        s.date = QDate(2007, 1, 20);
        s.hour = QTime(14, 5);
        s.vehicle = QStringLiteral("B\"1");
        s.driver1 = QStringLiteral("O\"NEIL");
        s.driver2 = QStringLiteral("D'ARC");
        s.parking = QStringLiteral("LA \"STEAUA\"");
        s.km = QStringLiteral("120");
        s.consumption = QStringLiteral("7.5");
        s.price = QStringLiteral("4.2");
        s.cost = SheetInput::cost(*Fixed4::parse(s.km), *Fixed4::parse(s.consumption),
                                  *Fixed4::parse(s.price))
                     .toString();
        writer.addSheet(s);
        const QStringList columns = {QStringLiteral("NRMAS"),  QStringLiteral("SOFER1"),
                                     QStringLiteral("SOFER2"), QStringLiteral("LOCPARC"),
                                     QStringLiteral("COST"),   QStringLiteral("TOTALVEN")};
        QCOMPARE(f.sheets(columns), QStringList({u"B\"1|O\"NEIL|D'ARC|LA \"STEAUA\"|37.8|0"_s}));
        s.driver1 = QStringLiteral("O\"NEILL");
        writer.changeSheet(s);
        QCOMPARE(f.sheets({QStringLiteral("SOFER1")}), QStringList({u"O\"NEILL"_s}));
    }

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

    void lineAmount_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("otherLines");
        QTest::addColumn<QString>("problem");
        const QString tooLarge = u"Suma prea mare! Cel mult 999999.99 lei."_s;
        const auto noRoom = [](const char *room) {
            return u"Suma prea mare! Venitul total al foii ar depasi 999999.99 lei: pe aceasta "
                   u"foaie mai incap cel mult %1 lei."_s.arg(QLatin1String(room));
        };
        QTest::newRow("nothing") << u"0"_s << u"0"_s << QString();
        QTest::newRow("largest amount") << u"999999.99"_s << u"0"_s << QString();
        QTest::newRow("rounded down into SUMA") << u"999999.994"_s << u"0"_s << QString();
        QTest::newRow("one cent more") << u"1000000"_s << u"0"_s << tooLarge;
        QTest::newRow("rounded up past SUMA") << u"999999.995"_s << u"0"_s << tooLarge;
        QTest::newRow("too large whatever the sheet") << u"123456789"_s << u"5"_s << tooLarge;
        QTest::newRow("fills the sheet") << u"99.99"_s << u"999900"_s << QString();
        QTest::newRow("a cent past the sheet") << u"100"_s << u"999900"_s << noRoom("99.99");
        QTest::newRow("full sheet") << u"0.01"_s << u"999999.99"_s << noRoom("0");
        QTest::newRow("full sheet, nothing added") << u"0"_s << u"999999.99"_s << QString();
        // SUMA keeps half a cent as the even cent, 0: nothing is added to the total.
        QTest::newRow("full sheet, half a cent") << u"0.005"_s << u"999999.99"_s << QString();
        QTest::newRow("full sheet, more than half a cent")
            << u"0.006"_s << u"999999.99"_s << noRoom("0");
    }
    void lineAmount() {
        QFETCH(QString, amount);
        QFETCH(QString, otherLines);
        QFETCH(QString, problem);
        const auto got =
            SheetInput::lineAmountProblem(*Fixed4::parse(amount), *Fixed4::parse(otherLines));
        QCOMPARE(got.value_or(QString()), problem);
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

QTEST_GUILESS_MAIN(TestRecordWriter)
#include "tst_recordwriter.moc"
