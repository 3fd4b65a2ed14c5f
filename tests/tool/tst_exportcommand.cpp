// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/csvparser.h"
#include "export/exportfixture.h"
#include "filebytes.h"
#include "toolrun.h"

#include <QDir>
#include <QTest>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

// velmora-tool export over the export tests' sheets: each WHAT, both dialects, the search
// options as the records window's fields take them, and wrong usage.
class TestExportCommand : public QObject {
    Q_OBJECT

    using Run = test::ToolRun;

    test::ExportFixture m_data;
    QTemporaryDir m_home;

    Run tool(const QStringList &args) {
        QProcessEnvironment env = test::toolEnvironment(m_home.path());
        // Dates on the command line in the day.month.year form.
        env.insert(u"LC_ALL"_s, u"ro_RO.UTF-8"_s);
        return test::runTool(QStringLiteral(VELMORA_TOOL), args, env);
    }

    Run exportTo(const QString &name, const QStringList &what) {
        return tool(QStringList{u"export"_s, m_data.programDir(), what.first(), m_data.path(name)} +
                    what.mid(1));
    }

    // The records of a file in the Romanian dialect, its byte-order mark checked.
    QList<QStringList> romanian(const QString &name) {
        const QByteArray bytes = bytesOf(m_data.path(name));
        if (!bytes.startsWith("\xEF\xBB\xBF"))
            return {};
        const test::CsvFile file = test::parseCsv(bytes.mid(3), ';');
        return file.ok ? file.records : QList<QStringList>();
    }

    static QStringList column(const QList<QStringList> &records, int index) {
        QStringList out;
        for (const QStringList &record : records.mid(1))
            out << record.value(index);
        return out;
    }

private Q_SLOTS:
    // Typed in small letters, the driver text is taken in upper case as the search field
    // takes it: POPESCU ION's sheets, not those of "popescu mic".
    void sheetsOfADriver() {
        const Run run = exportTo(u"driver.csv"_s, {u"sheets"_s, u"--driver"_s, u"popescu"_s});
        QVERIFY2(run.code == 0, run.err.constData());
        QCOMPARE(run.out, "2 sheets written into " +
                              QDir::toNativeSeparators(m_data.path(u"driver.csv"_s)).toUtf8() +
                              '\n');
        const QList<QStringList> records = romanian(u"driver.csv"_s);
        QCOMPARE(column(records, 0), QStringList({u"1"_s, u"3"_s}));
        QCOMPARE(records[2][1], u"02.03.2024"_s);
        QCOMPARE(records[2][4], u"\u0218ERBAN ANA"_s);
        QCOMPARE(records[2][9], u"6,25"_s);
        QVERIFY(bytesOf(m_data.path(u"driver.csv"_s)).contains("\r\n"));
    }

    void sheetsOfVehiclesInAPeriodStandard() {
        const Run run = exportTo(u"vehicle.csv"_s,
                                 {u"sheets"_s, u"--vehicle"_s, u"b1"_s, u"--from"_s,
                                  u"01.03.2024"_s, u"--to"_s, u"03.03.2024"_s, u"--standard"_s});
        QVERIFY2(run.code == 0, run.err.constData());
        const QByteArray bytes = bytesOf(m_data.path(u"vehicle.csv"_s));
        QVERIFY(bytes.startsWith("Nr. foaie,Data,"));
        QVERIFY(!bytes.contains('\r'));
        const test::CsvFile file = test::parseCsv(bytes, ',');
        QCOMPARE(column(file.records, 0), QStringList({u"1"_s, u"3"_s, u"4"_s}));
        QCOMPARE(file.records[1][1], u"2024-03-01"_s);
    }

    void linesOfTheSheets() {
        const Run run = exportTo(u"lines.csv"_s, {u"lines"_s, u"--driver"_s, u"POPESCU"_s});
        QVERIFY2(run.code == 0, run.err.constData());
        QVERIFY(run.out.startsWith("3 departures and arrivals written into "));
        QCOMPARE(romanian(u"lines.csv"_s),
                 QList<QStringList>(
                     {{u"Nr. foaie"_s, u"Data"_s, u"Ora"_s, u"Plecat / sosit"_s, u"Venit (lei)"_s},
                      {u"1"_s, u"01.03.2024"_s, u"08:10"_s, u"PLECARE"_s, u"150,50"_s},
                      {u"1"_s, u"05.03.2024"_s, u"10:00"_s, u"SOSIRE"_s, u"20,00"_s},
                      {u"3"_s, u"02.03.2024"_s, u"06:30"_s, u"PLECARE"_s, u"5,00"_s}}));
    }

    void periodSummary() {
        const Run run = exportTo(u"period.csv"_s, {u"period"_s, u"--from"_s, u"01.03.2024"_s,
                                                   u"--to"_s, u"03.03.2024"_s});
        QVERIFY2(run.code == 0, run.err.constData());
        QVERIFY(run.out.startsWith("3 days written into "));
        QCOMPARE(romanian(u"period.csv"_s),
                 QList<QStringList>({{u"Data"_s, u"Venit total (lei)"_s, u"Total consum (lei)"_s},
                                     {u"01.03.2024"_s, u"171,75"_s, u"62,10"_s},
                                     {u"02.03.2024"_s, u"5,00"_s, u"35,00"_s},
                                     {u"03.03.2024"_s, u"300,00"_s, u"140,20"_s},
                                     {u"TOTAL"_s, u"476,75"_s, u"237,30"_s}}));
    }

    // By vehicle unless --by says otherwise; the figures are the export tests' own.
    void profit_data() {
        QTest::addColumn<QStringList>("by");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("by vehicle, the default")
            << QStringList{} << u"Numar inmatric."_s
            << QStringList{u"CJ20BBB"_s, u"B10AAA"_s, u"B11CCC"_s, u"TOTAL"_s};
        QTest::newRow("by month") << QStringList{u"--by"_s, u"month"_s} << u"Luna"_s
                                  << QStringList{u"01.03.2024"_s, u"TOTAL"_s};
        QTest::newRow("by driver")
            << QStringList{u"--by"_s, u"driver"_s} << u"Sofer 1"_s
            << QStringList{u"\u0218ERBAN ANA"_s, u"POPA MARIA"_s,  u"IONESCU DAN"_s,
                           u"POPESCU ION"_s,     u"POPA VASILE"_s, u"TOTAL"_s};
    }

    void profit() {
        QFETCH(QStringList, by);
        QFETCH(QString, title);
        QFETCH(QStringList, names);
        const Run run =
            exportTo(u"profit.csv"_s, QStringList{u"profit"_s, u"--from"_s, u"01.03.2024"_s,
                                                  u"--to"_s, u"03.03.2024"_s} +
                                          by);
        QVERIFY2(run.code == 0, run.err.constData());
        QCOMPARE(run.out.left(run.out.indexOf(' ')), QByteArray::number(names.size() - 1));
        const QList<QStringList> records = romanian(u"profit.csv"_s);
        QCOMPARE(records.first().first(), title);
        QCOMPARE(column(records, 0), names);
        QCOMPARE(records.last()[title == u"Sofer 1"_s ? 6 : 5], u"476,75"_s);
    }

    void wrongUsage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        const QString dir = m_data.programDir();
        const QString out = m_data.path(u"never.csv"_s);
        QTest::newRow("nothing") << QStringList{u"export"_s}
                                 << u"export: expected PROGRAMDIR WHAT OUT.csv"_s;
        QTest::newRow("unknown WHAT")
            << QStringList{u"export"_s, dir, u"trips"_s, out}
            << u"export: WHAT is sheets, lines, period or profit, not trips"_s;
        QTest::newRow("unknown option")
            << QStringList{u"export"_s, dir, u"sheets"_s, out, u"--colour"_s}
            << u"export: unknown option --colour"_s;
        QTest::newRow("option without value")
            << QStringList{u"export"_s, dir, u"sheets"_s, out, u"--driver"_s}
            << u"export: --driver needs a value"_s;
        QTest::newRow("not a date")
            << QStringList{u"export"_s,     dir,       u"period"_s,    out, u"--from"_s,
                           u"32.01.2024"_s, u"--to"_s, u"01.02.2024"_s}
            << u"export: 32.01.2024 is not a date (dd.MM.yyyy)"_s;
        QTest::newRow("one end of the period")
            << QStringList{u"export"_s, dir, u"sheets"_s, out, u"--from"_s, u"01.01.2024"_s}
            << u"export: --from and --to go together"_s;
        QTest::newRow("summary without period") << QStringList{u"export"_s, dir, u"profit"_s, out}
                                                << u"export: profit needs --from and --to"_s;
        QTest::newRow("search of a summary")
            << QStringList{u"export"_s,    dir,
                           u"period"_s,    out,
                           u"--from"_s,    u"01.01.2024"_s,
                           u"--to"_s,      u"02.01.2024"_s,
                           u"--vehicle"_s, u"B1"_s}
            << u"export: --driver and --vehicle are for sheets and lines"_s;
        QTest::newRow("grouping of sheets")
            << QStringList{u"export"_s, dir, u"sheets"_s, out, u"--by"_s, u"month"_s}
            << u"export: --by is for profit"_s;
        QTest::newRow("unknown grouping")
            << QStringList{u"export"_s,     dir,       u"profit"_s,     out,       u"--from"_s,
                           u"01.01.2024"_s, u"--to"_s, u"02.01.2024"_s, u"--by"_s, u"week"_s}
            << u"export: --by takes vehicle, driver or month, not week"_s;
    }

    void wrongUsage() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const Run run = tool(args);
        QCOMPARE(run.code, 2);
        QCOMPARE(QString::fromLocal8Bit(run.err), message + u"\nTry 'velmora-tool --help'.\n"_s);
        QVERIFY(!QFile::exists(m_data.path(u"never.csv"_s)));
    }

    // Errors change nothing: a file already there keeps its bytes.
    void errors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        const QString kept = m_data.path(u"kept.csv"_s);
        QTest::newRow("end before start")
            << QStringList{u"export"_s, m_data.programDir(), u"profit"_s, kept,
                           u"--from"_s, u"02.03.2024"_s,     u"--to"_s,   u"01.03.2024"_s}
            << u"Perioada incorecta!"_s;
        QTest::newRow("no tables")
            << QStringList{u"export"_s, m_home.filePath(u"nowhere"_s), u"sheets"_s, kept}
            << QString();
    }

    void errors() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const QString kept = m_data.path(u"kept.csv"_s);
        putBytes(kept, "old\n");
        const Run run = tool(args);
        QCOMPARE(run.code, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY(!run.err.isEmpty());
        if (!message.isEmpty())
            QCOMPARE(QString::fromLocal8Bit(run.err), message + u'\n');
        QCOMPARE(bytesOf(kept), QByteArray("old\n"));
    }

    void unwritableFileIsAnError() {
        const QString out = m_data.path(u"no/such/folder/x.csv"_s);
        const Run run = tool({u"export"_s, m_data.programDir(), u"sheets"_s, out});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.startsWith("Fisierul " + QDir::toNativeSeparators(out).toUtf8()),
                 run.err.constData());
    }

    void helpNamesTheCommand() {
        const Run run = tool({u"--help"_s});
        QCOMPARE(run.code, 0);
        QVERIFY(run.out.contains("  export PROGRAMDIR WHAT OUT.csv [--from DATE --to DATE]"));
    }
};

QTEST_GUILESS_MAIN(TestExportCommand)
#include "tst_exportcommand.moc"
