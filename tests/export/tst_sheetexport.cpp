// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/sheetexport.h"
#include "records/recordlists.h"
#include "store/text/error.h"

#include "csvparser.h"
#include "exportfixture.h"
#include "filebytes.h"

#include <QTest>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

test::CsvFile standardFile(const QString &path) {
    return test::parseCsv(bytesOf(path), ',');
}

QStringList firstColumn(const test::CsvFile &file) {
    QStringList out;
    for (qsizetype i = 1; i < file.records.size(); ++i)
        out << file.records[i].first();
    return out;
}

} // namespace

class TestSheetExport : public QObject {
    Q_OBJECT

    test::ExportFixture m_data;

    // The sheet identifiers the records window lists for a search, in its order.
    QStringList shownByRecordsWindow(const QString &driver, const QString &vehicle) {
        RecordLists lists(m_data.dataDir());
        lists.open();
        lists.search(driver, vehicle);
        QStringList ids;
        Query &sheets = lists.sheets();
        for (qsizetype row = 0; row < sheets.recordCount(); ++row)
            ids << sheets.textAt(row, sheets.fieldIndex(u"IDFOAIE"));
        lists.close();
        return ids;
    }

private Q_SLOTS:
    void titles() {
        QCOMPARE(SheetExport::sheetTitles(),
                 QStringList({u"Nr. foaie"_s, u"Data"_s, u"Ora"_s, u"Numar inmatric."_s,
                              u"Nume Sofer 1"_s, u"Nume Sofer 2"_s, u"Loc de parcare"_s,
                              u"Total venit (lei)"_s, u"Parcurs (km)"_s, u"Consum (L/100 km)"_s,
                              u"Pret (lei/L)"_s, u"Total cost (lei)"_s}));
        QCOMPARE(SheetExport::lineTitles(), QStringList({u"Nr. foaie"_s, u"Data"_s, u"Ora"_s,
                                                         u"Plecat / sosit"_s, u"Venit (lei)"_s}));
    }

    // The search texts select exactly the sheets the records window shows for them, in the
    // list's date and hour order: a driver text matches either driver's beginning, a vehicle
    // text the plate's, letter case counts, and ȘERBAN typed with the comma-below letter finds
    // the stored ŞERBAN.
    void sameSheetsAsTheRecordsWindow_data() {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("vehicle");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("no search") << QString() << QString()
                                   << QStringList{u"5"_s, u"2"_s, u"1"_s, u"3"_s, u"4"_s, u"6"_s};
        QTest::newRow("first or second driver")
            << u"POP"_s << QString() << QStringList{u"2"_s, u"1"_s, u"3"_s, u"4"_s};
        QTest::newRow("small letters find small letters only")
            << u"pop"_s << QString() << QStringList{u"5"_s};
        QTest::newRow("driver and vehicle")
            << u"POPESCU"_s << u"B10"_s << QStringList{u"1"_s, u"3"_s};
        QTest::newRow("vehicle prefix")
            << QString() << u"B1"_s << QStringList{u"5"_s, u"1"_s, u"3"_s, u"4"_s, u"6"_s};
        QTest::newRow("comma-below letter")
            << test::ExportFixture::serban().left(3) << QString() << QStringList{u"3"_s};
        QTest::newRow("a quote in the name") << u"O'B"_s << QString() << QStringList{u"6"_s};
        QTest::newRow("nobody") << u"NIMENI"_s << QString() << QStringList{};
    }

    void sameSheetsAsTheRecordsWindow() {
        QFETCH(QString, driver);
        QFETCH(QString, vehicle);
        QFETCH(QStringList, ids);
        const QString out = m_data.path(u"sheets.csv"_s);
        SheetExport::Selection selection;
        selection.driver = driver;
        selection.vehicle = vehicle;
        QCOMPARE(SheetExport(m_data.dataDir(), selection).writeSheets(out, CsvDialect::standard()),
                 ids.size());
        const test::CsvFile file = standardFile(out);
        QVERIFY(file.ok);
        QCOMPARE(file.records.first(), SheetExport::sheetTitles());
        QCOMPARE(firstColumn(file), ids);
        QCOMPARE(shownByRecordsWindow(driver, vehicle), ids);
    }

    // Every column of a sheet, in the standard dialect: ISO dates, "." decimals with the
    // column's decimals, the cedilla letters as stored, quotes and separators kept.
    void everyColumnOfASheet() {
        const QString out = m_data.path(u"all.csv"_s);
        SheetExport(m_data.dataDir(), {}).writeSheets(out, CsvDialect::standard());
        const test::CsvFile file = standardFile(out);
        QVERIFY(file.ok);
        QCOMPARE(file.records.size(), 7);
        QCOMPARE(file.records[4],
                 QStringList({u"3"_s, u"2024-03-02"_s, u"06:00"_s, u"B10AAA"_s,
                              test::ExportFixture::serbanStored(), u"POPESCU ION"_s,
                              test::ExportFixture::quotedParking(), u"5.00"_s, u"80"_s, u"6.25"_s,
                              u"7.00"_s, u"35.00"_s}));
        // The parking place "=DEPOU" is text, guarded against being run as a formula.
        QCOMPARE(file.records[2][6], u"\t=DEPOU"_s);
        QCOMPARE(file.records[2][5], u"POPA MARIA"_s);
        QCOMPARE(file.records[1][4], u"popescu mic"_s);
    }

    void datesNarrowTheSheets() {
        const QString out = m_data.path(u"march.csv"_s);
        SheetExport::Selection selection;
        selection.from = QDate(2024, 3, 1);
        selection.to = QDate(2024, 3, 2);
        QCOMPARE(SheetExport(m_data.dataDir(), selection).writeSheets(out, CsvDialect::standard()),
                 3);
        QCOMPARE(firstColumn(standardFile(out)), QStringList({u"2"_s, u"1"_s, u"3"_s}));
        selection.from = QDate(2024, 3, 3);
        QVERIFY_THROWS_EXCEPTION(
            InputError,
            SheetExport(m_data.dataDir(), selection).writeSheets(out, CsvDialect::standard()));
    }

    void anotherListOrder() {
        const QString out = m_data.path(u"byplate.csv"_s);
        SheetExport::Selection selection;
        selection.order = u"NRMAS"_s;
        SheetExport(m_data.dataDir(), selection).writeSheets(out, CsvDialect::standard());
        const test::CsvFile file = standardFile(out);
        QStringList plates;
        for (qsizetype i = 1; i < file.records.size(); ++i)
            plates << file.records[i][3];
        QCOMPARE(plates, QStringList({u"B10AAA"_s, u"B10AAA"_s, u"B10AAA"_s, u"B11CCC"_s,
                                      u"B12DDD"_s, u"CJ20BBB"_s}));
    }

    // The lines of the chosen sheets, sheet by sheet in the list's order, each sheet's in
    // time order, with the date and hour of TIMP.
    void linesOfTheChosenSheets() {
        const QString out = m_data.path(u"lines.csv"_s);
        SheetExport::Selection selection;
        selection.driver = u"POPESCU"_s;
        QCOMPARE(SheetExport(m_data.dataDir(), selection).writeLines(out, CsvDialect::standard()),
                 3);
        const test::CsvFile file = standardFile(out);
        QVERIFY(file.ok);
        QCOMPARE(
            file.records,
            QList<QStringList>({SheetExport::lineTitles(),
                                {u"1"_s, u"2024-03-01"_s, u"08:10"_s, u"PLECARE"_s, u"150.50"_s},
                                {u"1"_s, u"2024-03-05"_s, u"10:00"_s, u"SOSIRE"_s, u"20.00"_s},
                                {u"3"_s, u"2024-03-02"_s, u"06:30"_s, u"PLECARE"_s, u"5.00"_s}}));
    }

    void linesOfNoSheet() {
        const QString out = m_data.path(u"nolines.csv"_s);
        SheetExport::Selection selection;
        selection.vehicle = u"X"_s;
        QCOMPARE(SheetExport(m_data.dataDir(), selection).writeLines(out, CsvDialect::romanian()),
                 0);
        QCOMPARE(bytesOf(out), QByteArray("\xEF\xBB\xBFNr. foaie;Data;Ora;Plecat / sosit;"
                                          "Venit (lei)\r\n"));
    }

    void missingTablesAreAnEngineError() {
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 SheetExport(u"/nonexistent/Data"_s, {})
                                     .writeSheets(m_data.path(u"x.csv"_s), CsvDialect::romanian()));
        QVERIFY(!QFile::exists(m_data.path(u"x.csv"_s)));
    }
};

QTEST_GUILESS_MAIN(TestSheetExport)
#include "tst_sheetexport.moc"
