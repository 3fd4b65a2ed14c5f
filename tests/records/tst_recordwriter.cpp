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
