// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordsfixture.h"

#include "records/querytablemodel.h"
#include "records/recordlists.h"
#include "store/text/error.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

const QDate kDay(2007, 1, 20);

QStringList column(Query &query, QStringView field) {
    QStringList values;
    for (qsizetype r = 0; r < query.recordCount(); ++r)
        values.append(query.textAt(r, query.fieldIndex(field)));
    return values;
}

// Four sheets, entered out of date order, with their lines.
void fill(RecordsFixture &f) {
    f.addSheet(1, kDay.addDays(1), QStringLiteral("08:00"), QStringLiteral("B12ABC"),
               QStringLiteral("POPESCU ION"), QStringLiteral("STAN ANA"));
    f.addSheet(2, kDay, QStringLiteral("14:05"), QStringLiteral("CJ01XYZ"),
               QStringLiteral("SOFER A"));
    f.addSheet(3, kDay.addDays(1), QStringLiteral("07:30"), QStringLiteral("B99AAA"),
               QStringLiteral("O\"NEIL"), QStringLiteral("D'ARC"));
    f.addSheet(4, kDay, QStringLiteral("09:15"), QStringLiteral("B12XYZ"),
               QStringLiteral("STAN ANA"), QStringLiteral("SOFER B"));
    f.addLine(11, 1, QDateTime(kDay.addDays(1), QTime(14, 5)), QStringLiteral("150.5"));
    f.addLine(12, 1, QDateTime(kDay.addDays(1), QTime(9, 0)), QStringLiteral("20"),
              QStringLiteral("SOSIRE"));
    f.addLine(13, 2, QDateTime(kDay, QTime(14, 5, 30)), QStringLiteral("7"));
}

} // namespace

class TestRecordLists : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void emptyTablesOpenEmpty() {
        RecordsFixture f;
        RecordLists lists(f.dataDir());
        lists.open();
        QVERIFY(lists.sheets().isOpen() && lists.lines().isOpen());
        QVERIFY(lists.sheets().isEmpty());
        QVERIFY(lists.lines().isEmpty());
        QCOMPARE(lists.lines().filter(), QStringLiteral("IDFOAIE=-1"));
        QVERIFY(lists.lines().isFiltered());
        QVERIFY(lists.selectedSheetId().isEmpty());
        QVERIFY(!lists.sortBy(QStringLiteral("NRMAS")));
    }

    void openSelectsLatestSheetAndItsLinesInTimpOrder() {
        RecordsFixture f;
        fill(f);
        RecordLists lists(f.dataDir());
        lists.open();
        QCOMPARE(column(lists.sheets(), u"IDFOAIE"), QStringList({u"4"_s, u"2"_s, u"3"_s, u"1"_s}));
        QCOMPARE(lists.selectedSheetId(), QStringLiteral("1"));
        QCOMPARE(lists.lines().filter(), QStringLiteral("IDFOAIE=1"));
        QCOMPARE(column(lists.lines(), u"IDSOS"), QStringList({u"12"_s, u"11"_s}));
        // 14:05:00 is stored as 14:04:59.5 and still shows as the minute that was typed.
        QCOMPARE(column(lists.lines(), u"ORA"), QStringList({u"09:00"_s, u"14:05"_s}));
        QCOMPARE(column(lists.lines(), u"ZIUA").first(), TextForm::date(kDay.addDays(1)));
        QCOMPARE(column(lists.lines(), u"SUMA"), QStringList({u"20"_s, u"150.5"_s}));

        lists.sheets().locate(u"IDFOAIE", QStringLiteral("2"));
        QCOMPARE(column(lists.lines(), u"IDSOS"), QStringList({u"13"_s}));
        QCOMPARE(column(lists.lines(), u"ORA"), QStringList({u"14:05"_s}));
    }

    // A line entered in the last seconds of a day stays on that day, the next day's first
    // seconds on the next one.
    void linesAroundMidnightKeepTheirDay() {
        RecordsFixture f;
        f.addSheet(1, kDay, QStringLiteral("08:00"), QStringLiteral("B1"), QStringLiteral("A"));
        f.addLine(1, 1, QDateTime(kDay, QTime(23, 59, 57)), QStringLiteral("5"));
        f.addLine(2, 1, QDateTime(kDay.addDays(1), QTime(0, 0, 2)), QStringLiteral("6"));
        RecordLists lists(f.dataDir());
        lists.open();
        QCOMPARE(column(lists.lines(), u"TIMP"), QStringList({u"39102.9999"_s, u"39103"_s}));
        QCOMPARE(column(lists.lines(), u"ZIUA"),
                 QStringList({TextForm::date(kDay), TextForm::date(kDay.addDays(1))}));
        QCOMPARE(column(lists.lines(), u"ORA"), QStringList({u"23:59"_s, u"00:00"_s}));
    }

    void searchConditionText_data() {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("vehicle");
        QTest::addColumn<QString>("condition");
        QTest::newRow("both") << u"SOF"_s << u"B12"_s
                              << u"((SOFER1='SOF*') OR (SOFER2='SOF*')) AND (NRMAS='B12*')"_s;
        QTest::newRow("driver") << u"SOF"_s << u""_s << u"((SOFER1='SOF*') OR (SOFER2='SOF*'))"_s;
        QTest::newRow("vehicle") << u""_s << u"B12"_s << u"(NRMAS='B12*')"_s;
        QTest::newRow("neither") << u""_s << u""_s << u""_s;
        QTest::newRow("quote") << u"D'A"_s << u""_s << u"((SOFER1='D''A*') OR (SOFER2='D''A*'))"_s;
        QTest::newRow("seam inside a name")
            << u"A)(B"_s << u""_s << u"((SOFER1='A)(B*') OR (SOFER2='A)(B*'))"_s;
    }
    void searchConditionText() {
        QFETCH(QString, driver);
        QFETCH(QString, vehicle);
        QFETCH(QString, condition);
        QCOMPARE(RecordLists::searchCondition(driver, vehicle), condition);
    }

    void searchFindsSheets_data() {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("vehicle");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("first or second driver")
            << u"STAN"_s << u""_s << QStringList({u"4"_s, u"1"_s});
        QTest::newRow("vehicle") << u""_s << u"B12"_s << QStringList({u"4"_s, u"1"_s});
        QTest::newRow("both") << u"SOF"_s << u"B12"_s << QStringList({u"4"_s});
        QTest::newRow("neither") << u""_s << u""_s << QStringList({u"4"_s, u"2"_s, u"3"_s, u"1"_s});
        QTest::newRow("no match") << u"ZZ"_s << u""_s << QStringList();
        QTest::newRow("double quote") << u"O\"N"_s << u""_s << QStringList({u"3"_s});
        QTest::newRow("single quote") << u"D'ARC"_s << u""_s << QStringList({u"3"_s});
        QTest::newRow("case-sensitive") << u"stan"_s << u""_s << QStringList();
    }
    void searchFindsSheets() {
        QFETCH(QString, driver);
        QFETCH(QString, vehicle);
        QFETCH(QStringList, ids);
        RecordsFixture f;
        fill(f);
        RecordLists lists(f.dataDir());
        lists.open();
        lists.search(driver, vehicle);
        QCOMPARE(column(lists.sheets(), u"IDFOAIE"), ids);
        // The cursor is on the first match and the lower list follows it; with no search the
        // latest sheet stays selected.
        const QString selected = ids.size() == 4 ? ids.last() : ids.value(0);
        QCOMPARE(lists.selectedSheetId(), selected);
        QCOMPARE(lists.lines().filter(), u"IDFOAIE="_s + (ids.isEmpty() ? u"-1"_s : selected));
        if (ids.isEmpty())
            QVERIFY(lists.lines().isEmpty());
    }

    void clearingTheSearchRemovesTheFilter() {
        RecordsFixture f;
        fill(f);
        RecordLists lists(f.dataDir());
        lists.open();
        lists.search(QStringLiteral("ZZ"), QString());
        QVERIFY(lists.sheets().isEmpty());
        lists.search(QString(), QString());
        QVERIFY(!lists.sheets().isFiltered());
        QVERIFY(lists.sheets().filter().isEmpty());
        QCOMPARE(lists.sheets().recordCount(), 4);
    }

    void sortKeepsSelectionAndSearchUntilReopened() {
        RecordsFixture f;
        fill(f);
        RecordLists lists(f.dataDir());
        lists.open();
        lists.search(QString(), QStringLiteral("B"));
        lists.sheets().locate(u"IDFOAIE", QStringLiteral("1"));
        lists.lines().locate(u"IDSOS", QStringLiteral("11"));

        QVERIFY(!lists.sortBy(QStringLiteral("ORA")));
        QCOMPARE(column(lists.sheets(), u"IDFOAIE"), QStringList({u"4"_s, u"3"_s, u"1"_s}));

        QVERIFY(lists.sortBy(QStringLiteral("NRMAS")));
        QCOMPARE(lists.sheets().sql().last(), QStringLiteral("ORDER BY NRMAS"));
        QCOMPARE(column(lists.sheets(), u"NRMAS"),
                 QStringList({u"B12ABC"_s, u"B12XYZ"_s, u"B99AAA"_s}));
        QCOMPARE(lists.selectedSheetId(), QStringLiteral("1"));
        QCOMPARE(lists.selectedLineId(), QStringLiteral("11"));

        // By date alone: the two sheets of a day keep the order they were stored in.
        QVERIFY(lists.sortBy(QStringLiteral("DATAX")));
        QCOMPARE(column(lists.sheets(), u"IDFOAIE"), QStringList({u"4"_s, u"1"_s, u"3"_s}));
        QCOMPARE(lists.selectedSheetId(), QStringLiteral("1"));

        lists.refreshSheets(QStringLiteral("3"));
        QCOMPARE(lists.sortField(), QStringLiteral("DATAX"));
        QCOMPARE(lists.selectedSheetId(), QStringLiteral("3"));

        lists.close();
        lists.open();
        QCOMPARE(lists.sortField(), QStringLiteral("DATAX, ORA"));
        QCOMPARE(column(lists.sheets(), u"IDFOAIE"), QStringList({u"4"_s, u"3"_s, u"1"_s}));
        QVERIFY(lists.sheets().isFiltered());
    }

    void refreshesFindTheirRowsAgain() {
        RecordsFixture f;
        fill(f);
        RecordLists lists(f.dataDir());
        lists.open();

        f.addLine(14, 2, QDateTime(kDay, QTime(6, 0)), QStringLiteral("5"));
        lists.refreshAll(QStringLiteral("2"), QStringLiteral("14"));
        QCOMPARE(lists.selectedSheetId(), QStringLiteral("2"));
        QCOMPARE(column(lists.lines(), u"IDSOS"), QStringList({u"14"_s, u"13"_s}));
        QCOMPARE(lists.selectedLineId(), QStringLiteral("14"));

        // A row that is gone leaves the cursor on the first row.
        lists.refreshAll(QStringLiteral("2"), QStringLiteral("99"));
        QCOMPARE(lists.selectedLineId(), QStringLiteral("14"));
        lists.refreshSheets(QStringLiteral("99"));
        QCOMPARE(lists.selectedSheetId(), QStringLiteral("4"));

        f.run(f.statements().deleteSheet(QStringLiteral("1")));
        lists.refreshAfterSheetDelete();
        QCOMPARE(lists.selectedSheetId(), QStringLiteral("3"));
        QCOMPARE(lists.sheets().recordCount(), 3);
    }

    void badSearchLeavesTheListAsItWas() {
        RecordsFixture f;
        fill(f);
        RecordLists lists(f.dataDir());
        lists.open();
        lists.search(QStringLiteral("STAN"), QString());
        QVERIFY_THROWS_EXCEPTION(EngineError, lists.search(QStringLiteral("Ω"), QString()));
        QCOMPARE(column(lists.sheets(), u"IDFOAIE"), QStringList({u"4"_s, u"1"_s}));
    }

    void modelShowsTheVisibleRowsAndFollowsTheCursor() {
        RecordsFixture f;
        fill(f);
        RecordLists lists(f.dataDir());
        QueryTableModel sheets(
            lists.sheets(),
            {{QStringLiteral("DATAX"), QStringLiteral("Data"), 67, Qt::AlignCenter, false},
             {QStringLiteral("NRMAS"), QStringLiteral("Numar inmatric."), 69,
              Qt::AlignLeft | Qt::AlignVCenter, true},
             {QStringLiteral("TOTALVEN"), QStringLiteral("Total venit"), 55,
              Qt::AlignLeft | Qt::AlignVCenter, true},
             {QStringLiteral("COST"), QStringLiteral("Total Cost"), 49,
              Qt::AlignLeft | Qt::AlignVCenter, true}});
        QueryTableModel lines(lists.lines(),
                              {{QStringLiteral("ORA"), QStringLiteral("Ora"), 38},
                               {QStringLiteral("SUMA"), QStringLiteral("Venit (lei)"), 55}});
        QCOMPARE(sheets.rowCount(), 0);
        QSignalSpy moved(&sheets, &QueryTableModel::currentRowChanged);
        lists.open();
        QCOMPARE(sheets.rowCount(), 4);
        QCOMPARE(moved.last().at(0).toInt(), 3);
        QCOMPARE(sheets.headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Numar inmatric."));
        QCOMPARE(sheets.index(0, 0).data().toString(), TextForm::date(kDay));
        QCOMPARE(sheets.index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::Alignment(Qt::AlignCenter));
        QCOMPARE(sheets.index(0, 1).data().toString(), QStringLiteral("B12XYZ"));
        QVERIFY(sheets.index(0, 1).data(QueryTableModel::BoldRole).toBool());
        QVERIFY(!sheets.index(0, 0).data(QueryTableModel::BoldRole).toBool());
        QCOMPARE(sheets.index(0, 2).data().toString(), QStringLiteral("0"));
        QCOMPARE(sheets.index(0, 3).data().toString(), QStringLiteral("48"));
        QCOMPARE(lines.rowCount(), 2);
        QCOMPARE(lines.index(1, 0).data().toString(), QStringLiteral("14:05"));
        QCOMPARE(lines.index(1, 1).data().toString(), QStringLiteral("150.5"));

        lists.search(QStringLiteral("SOFER"), QString());
        QCOMPARE(sheets.rowCount(), 2);
        QCOMPARE(sheets.index(1, 1).data().toString(), QStringLiteral("CJ01XYZ"));
        QCOMPARE(moved.last().at(0).toInt(), 0);
        QCOMPARE(lines.rowCount(), 0);
        lists.sheets().next();
        QCOMPARE(moved.last().at(0).toInt(), 1);
        QCOMPARE(lines.rowCount(), 1);
        lists.close();
        QCOMPARE(sheets.rowCount(), 0);
        QCOMPARE(moved.last().at(0).toInt(), -1);
    }
};

QTEST_GUILESS_MAIN(TestRecordLists)
#include "tst_recordlists.moc"
