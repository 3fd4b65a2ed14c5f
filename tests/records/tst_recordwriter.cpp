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
};

QTEST_GUILESS_MAIN(TestRecordWriter)
#include "tst_recordwriter.moc"
