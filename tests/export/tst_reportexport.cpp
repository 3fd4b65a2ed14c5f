// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/reportexport.h"
#include "reports/periodsummary.h"
#include "reports/profitreport.h"
#include "store/query/query.h"

#include "csvparser.h"
#include "exportfixture.h"
#include "filebytes.h"

#include <QTest>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;
using Grouping = ProfitReport::Grouping;

// The reports' rows and totals as files, read back in the standard dialect; the figures are
// the fixture's, added up by hand.
class TestReportExport : public QObject {
    Q_OBJECT

    test::ExportFixture m_data;

    test::CsvFile readBack(const QString &path) {
        const test::CsvFile file = test::parseCsv(bytesOf(path), ',');
        if (!file.ok)
            qWarning("not CSV: %s", bytesOf(path).constData());
        return file;
    }

private Q_SLOTS:
    // 1 March: sheets 1 and 2, 170.50 + 1.25 = 171.75 income and 62.10 + 0 fuel;
    // 2 March: 5.00 and 35.00; 3 March: 300.00 and 140.20; total 476.75 and 237.30.
    void periodRowsAndTotal() {
        Query lx;
        const PeriodSummary summary =
            PeriodSummary::query(lx, m_data.dataDir(), QDate(2024, 3, 1), QDate(2024, 3, 3));
        const QString out = m_data.path(u"period.csv"_s);
        QCOMPARE(ReportExport::writePeriod(summary, out, CsvDialect::standard()), 3);
        const test::CsvFile file = readBack(out);
        QVERIFY(file.ok);
        QCOMPARE(file.records,
                 QList<QStringList>({{u"Data"_s, u"Venit total (lei)"_s, u"Total consum (lei)"_s},
                                     {u"2024-03-01"_s, u"171.75"_s, u"62.10"_s},
                                     {u"2024-03-02"_s, u"5.00"_s, u"35.00"_s},
                                     {u"2024-03-03"_s, u"300.00"_s, u"140.20"_s},
                                     {u"TOTAL"_s, u"476.75"_s, u"237.30"_s}}));
    }

    void emptyPeriodHasItsTotal() {
        const QString out = m_data.path(u"empty.csv"_s);
        QCOMPARE(ReportExport::writePeriod(PeriodSummary(), out, CsvDialect::romanian()), 0);
        QCOMPARE(bytesOf(out), QByteArray("\xEF\xBB\xBF"
                                          "Data;Venit total (lei);Total consum (lei)\r\n"
                                          "TOTAL;0,00;0,00\r\n"));
    }

    // 1 to 3 March by vehicle, worst result first:
    //   CJ20BBB  sheet 2: no km, 1.25 income, result 1.25, no per-km values (empty fields)
    //   B10AAA   sheets 1, 3: 200 km, 9 + 5 = 14.00 L, 97.10 fuel, 175.50 income, 78.40;
    //            0.8775 -> 0.878, 0.4855 -> 0.486, 0.392, 7.00 L/100 km
    //   B11CCC   sheet 4: 200 km, 20.00 L, 140.20, 300.00, 159.80; 1.500, 0.701, 0.799, 10.00
    //   TOTAL    4 sheets, 400 km, 34.00 L, 237.30, 476.75, 239.45; 1.191875 -> 1.192,
    //            0.59325 -> 0.593, 0.598625 -> 0.599, 8.50
    void profitRowsAndTotal() {
        const ProfitReport report = ProfitReport::query(m_data.dataDir(), QDate(2024, 3, 1),
                                                        QDate(2024, 3, 3), Grouping::Vehicle);
        const QString out = m_data.path(u"profit.csv"_s);
        QCOMPARE(ReportExport::writeProfit(report, out, CsvDialect::standard()), 3);
        const test::CsvFile file = readBack(out);
        QVERIFY(file.ok);
        QStringList titles;
        for (const ProfitReport::Column column : ProfitReport::columns(Grouping::Vehicle))
            titles << ProfitReport::title(column, Grouping::Vehicle);
        QCOMPARE(file.records,
                 QList<QStringList>(
                     {titles,
                      {u"CJ20BBB"_s, u"1"_s, u"0"_s, u"0.00"_s, u"0.00"_s, u"1.25"_s, u"1.25"_s,
                       QString(), QString(), QString(), QString()},
                      {u"B10AAA"_s, u"2"_s, u"200"_s, u"14.00"_s, u"97.10"_s, u"175.50"_s,
                       u"78.40"_s, u"0.878"_s, u"0.486"_s, u"0.392"_s, u"7.00"_s},
                      {u"B11CCC"_s, u"1"_s, u"200"_s, u"20.00"_s, u"140.20"_s, u"300.00"_s,
                       u"159.80"_s, u"1.500"_s, u"0.701"_s, u"0.799"_s, u"10.00"_s},
                      {u"TOTAL"_s, u"4"_s, u"400"_s, u"34.00"_s, u"237.30"_s, u"476.75"_s,
                       u"239.45"_s, u"1.192"_s, u"0.593"_s, u"0.599"_s, u"8.50"_s}}));
    }

    // The rows in the file are the report's rows in its chosen order.
    void profitFollowsTheChosenOrder() {
        ProfitReport report = ProfitReport::query(m_data.dataDir(), QDate(2024, 3, 1),
                                                  QDate(2024, 3, 3), Grouping::Vehicle);
        report.sortBy(ProfitReport::Order::Name);
        const QString out = m_data.path(u"byname.csv"_s);
        ReportExport::writeProfit(report, out, CsvDialect::standard());
        const test::CsvFile file = readBack(out);
        QStringList names;
        for (const QStringList &record : file.records.mid(1))
            names << record.first();
        QCOMPARE(names, QStringList({u"B10AAA"_s, u"B11CCC"_s, u"CJ20BBB"_s, u"TOTAL"_s}));
    }

    // By month the month is a date, its first day; by driver the second-driver count is
    // there. February: sheet 5, -7.00; March: the other five.
    void profitByMonthAndByDriver() {
        const ProfitReport months = ProfitReport::query(m_data.dataDir(), QDate(2024, 2, 1),
                                                        QDate(2024, 3, 31), Grouping::Month);
        const QString out = m_data.path(u"months.csv"_s);
        ReportExport::writeProfit(months, out, CsvDialect::standard());
        test::CsvFile file = readBack(out);
        QCOMPARE(file.records.size(), 4);
        QCOMPARE(file.records[0].first(), u"Luna"_s);
        QCOMPARE(file.records[1].mid(0, 2), QStringList({u"2024-02-01"_s, u"1"_s}));
        QCOMPARE(file.records[1][6], u"-7.00"_s);
        QCOMPARE(file.records[2].mid(0, 2), QStringList({u"2024-03-01"_s, u"5"_s}));
        QCOMPARE(file.records[3].first(), u"TOTAL"_s);

        const ProfitReport drivers = ProfitReport::query(m_data.dataDir(), QDate(2024, 3, 1),
                                                         QDate(2024, 3, 3), Grouping::Driver);
        ReportExport::writeProfit(drivers, out, CsvDialect::standard());
        file = readBack(out);
        QCOMPARE(file.records[0].mid(0, 3),
                 QStringList({u"Sofer 1"_s, u"Foi"_s, u"Foi ca sofer 2"_s}));
        // POPA MARIA drove second only: one row with that count alone.
        bool found = false;
        for (const QStringList &record : file.records) {
            if (record.first() == u"POPA MARIA"_s) {
                found = true;
                QCOMPARE(record.mid(1, 2), QStringList({u"0"_s, u"1"_s}));
            }
        }
        QVERIFY(found);
        QCOMPARE(file.records.last().mid(0, 3), QStringList({u"TOTAL"_s, u"4"_s, u"2"_s}));
    }
};

QTEST_GUILESS_MAIN(TestReportExport)
#include "tst_reportexport.moc"
