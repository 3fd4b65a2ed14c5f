// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolrun.h"
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

// velmora-tool as scripts use it: arguments, standard input, output format and exit status.
class TestVelmoraTool : public QObject {
    Q_OBJECT

    using Run = velmora::test::ToolRun;

    QTemporaryDir m_home;

    Run tool(const QStringList &args, const QByteArray &input = {}) {
        return velmora::test::runTool(QStringLiteral(VELMORA_TOOL), args,
                                      velmora::test::toolEnvironment(m_home.path()), input);
    }

    Run sql(const QString &statement) { return tool({QStringLiteral("sql")}, statement.toUtf8()); }

    static QString table(const QTemporaryDir &dir, const char *name) {
        return u'"' + dir.filePath(QStringLiteral("Data/")) + QLatin1String(name) + u'"';
    }

    QByteArray selectAll(const QTemporaryDir &dir, const char *name, const char *order) {
        const Run run = sql(QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                                .arg(table(dir, name), QLatin1String(order)));
        if (run.code != 0)
            qFatal("%s", run.err.constData());
        return run.out;
    }

    static QList<QByteArrayList> rows(const QByteArray &tsv) {
        QList<QByteArrayList> all;
        for (const QByteArray &line : tsv.split('\n')) {
            if (!line.isEmpty())
                all.append(line.split('\t'));
        }
        return all;
    }

    // A general-form amount as whole cents, read digit by digit; nullopt when it has more
    // than two decimals, as a sum gone through binary floating point has.
    static std::optional<qint64> toCents(const QByteArray &text) {
        const bool negative = text.startsWith('-');
        const QByteArray digits = negative ? text.mid(1) : text;
        const qsizetype point = digits.indexOf('.');
        QByteArray whole = point < 0 ? digits : digits.left(point);
        QByteArray decimals = point < 0 ? QByteArray() : digits.mid(point + 1);
        if (decimals.size() > 2)
            return std::nullopt;
        decimals = decimals.leftJustified(2, '0');
        qint64 value = 0;
        for (const char c : whole + decimals)
            value = value * 10 + (c - '0');
        return negative ? -value : value;
    }

private Q_SLOTS:
    void usage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0;
        QTest::newRow("nothing") << QStringList{} << 2;
        QTest::newRow("unknown") << QStringList{QStringLiteral("frobnicate")} << 2;
        QTest::newRow("init without dir") << QStringList{QStringLiteral("init")} << 2;
        QTest::newRow("sql with argument")
            << QStringList{QStringLiteral("sql"), QStringLiteral("x")} << 2;
        QTest::newRow("generate without counts")
            << QStringList{QStringLiteral("generate"), QStringLiteral("/tmp")} << 2;
        QTest::newRow("generate bad count")
            << QStringList{QStringLiteral("generate"), QStringLiteral("/tmp"),
                           QStringLiteral("--sheets"), QStringLiteral("ten"),
                           QStringLiteral("--lines"),  QStringLiteral("1")}
            << 2;
    }

    void usage() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        const Run run = tool(args);
        QCOMPARE(run.code, code);
        if (code == 0) {
            for (const char *command : {"init", "sql", "pack", "generate"})
                QVERIFY(run.out.contains(command));
        } else {
            QVERIFY(!run.err.isEmpty());
        }
    }

    void initCreatesTheTablesAndNothingElse() {
        QTemporaryDir dir;
        const Run run = tool({QStringLiteral("init"), dir.path()});
        QCOMPARE(run.code, 0);
        QCOMPARE(QDir(dir.filePath(QStringLiteral("Data"))).entryList(QDir::Files),
                 QStringList({QStringLiteral("FOI.DBF"), QStringLiteral("Sosiri.DBF")}));
        QVERIFY(!QDir(m_home.filePath(QStringLiteral("config/Kestrova"))).exists());
        // A second run finds the tables and leaves them.
        QCOMPARE(tool({QStringLiteral("init"), dir.path()}).code, 0);
    }

    void sqlPrintsRowsAsTabSeparatedText() {
        QTemporaryDir dir;
        QCOMPARE(tool({QStringLiteral("init"), dir.path()}).code, 0);
        const QString insert = QStringLiteral(
            "INSERT INTO %1\n(IDFOAIE,DATAX,ORA,NRMAS,SOFER1,SOFER2,LOCPARC,TOTALVEN,\n"
            "TKM,CONSUM,PRETL,COST)\nVALUES (\n%2,\"2007-01-20\",\"14:05\",\n\"B12ABC\",\n"
            "%3,\n\"\",\n\"PARCARE 1\",\n0,120,\n7.5,\n4.2,\n37.8)");
        QCOMPARE(sql(insert.arg(table(dir, "Foi.dbf"), QStringLiteral("2"),
                                QStringLiteral("\"O\"\"NEIL \u0218TEFAN\"")))
                     .code,
                 0);
        QCOMPARE(sql(insert.arg(table(dir, "Foi.dbf"), QStringLiteral("1"),
                                QStringLiteral("\"A\tB\\\\C\"")))
                     .code,
                 0);
        QCOMPARE(
            selectAll(dir, "Foi.dbf", "IDFOAIE"),
            QByteArray("IDFOAIE\tORA\tNRMAS\tDATAX\tSOFER1\tSOFER2\tLOCPARC\tTOTALVEN\tTKM\t"
                       "CONSUM\tPRETL\tCOST\n"
                       "1\t14:05\tB12ABC\t2007-01-20\tA\\tB\\\\\\\\C\t\tPARCARE 1\t0\t120\t7.5\t"
                       "4.2\t37.8\n"
                       "2\t14:05\tB12ABC\t2007-01-20\tO\"NEIL \xC5\x9ETEFAN\t\tPARCARE 1\t0\t"
                       "120\t7.5\t4.2\t37.8\n"));
    }

    // A script that lists drivers gets them in the order of the Romanian alphabet, whichever
    // form of ş and ţ its statements were written with.
    void sqlListsNamesInRomanianOrder() {
        QTemporaryDir dir;
        QCOMPARE(tool({QStringLiteral("init"), dir.path()}).code, 0);
        const QStringList drivers = {
            QStringLiteral("ZAHARIA"), QStringLiteral("\u0218ERBAN"), QStringLiteral("\u015EERBAN"),
            QStringLiteral("STAN"),    QStringLiteral("\u021AARA"),   QStringLiteral("\u0102LEXE"),
            QStringLiteral("ANDREI"),  QStringLiteral("\u00CENCU"),   QStringLiteral("IONESCU"),
            QStringLiteral("stan"),
        };
        for (int i = 0; i < drivers.size(); ++i) {
            QCOMPARE(sql(QStringLiteral("INSERT INTO %1 (IDFOAIE, NRMAS, SOFER1) VALUES (%2, "
                                        "\"%3\", \"%4\")")
                             .arg(table(dir, "Foi.dbf"))
                             .arg(i + 1)
                             .arg(drivers[i].left(9), drivers[i]))
                         .code,
                     0);
        }
        const QByteArray ordered = "ANDREI\n\xC4\x82LEXE\nIONESCU\n\xC3\x8E"
                                   "NCU\nSTAN\nstan\n\xC5\x9E"
                                   "ERBAN\n\xC5\xA2"
                                   "ARA\nZAHARIA\n";
        const Run distinct = sql(QStringLiteral("SELECT DISTINCT SOFER1 FROM %1 ORDER BY SOFER1")
                                     .arg(table(dir, "Foi.dbf")));
        QCOMPARE(distinct.code, 0);
        QCOMPARE(distinct.out, "SOFER1\n" + ordered);
        const Run plates = sql(QStringLiteral("SELECT IDFOAIE FROM %1 ORDER BY NRMAS DESC")
                                   .arg(table(dir, "Foi.dbf")));
        QCOMPARE(plates.code, 0);
        QCOMPARE(plates.out, QByteArray("IDFOAIE\n1\n5\n2\n3\n10\n4\n8\n9\n6\n7\n"));
    }

    void aRefusedStatementFailsAndChangesNothing() {
        QTemporaryDir dir;
        QCOMPARE(tool({QStringLiteral("init"), dir.path()}).code, 0);
        const QByteArray before = selectAll(dir, "Foi.dbf", "IDFOAIE");
        const Run run = sql(QStringLiteral("INSERT INTO %1 (IDFOAIE, TKM) VALUES (1, 123456789012)")
                                .arg(table(dir, "Foi.dbf")));
        QCOMPARE(run.code, 1);
        QVERIFY(run.err.contains("TKM"));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(selectAll(dir, "Foi.dbf", "IDFOAIE"), before);
        QCOMPARE(sql(QStringLiteral("SELECT * FROM \"%1/none.dbf\"").arg(dir.path())).code, 1);
    }

    void generatedSheetsCarryTheSumOfTheirLines() {
        QTemporaryDir dir;
        const Run run = tool({QStringLiteral("generate"), dir.path(), QStringLiteral("--sheets"),
                              QStringLiteral("60"), QStringLiteral("--lines"), QStringLiteral("3"),
                              QStringLiteral("--seed"), QStringLiteral("9")});
        QCOMPARE(run.code, 0);
        const auto sheets = rows(sql(QStringLiteral("SELECT IDFOAIE, TOTALVEN FROM %1 ORDER BY "
                                                    "IDFOAIE")
                                         .arg(table(dir, "Foi.dbf")))
                                     .out);
        const auto sums = rows(sql(QStringLiteral("SELECT IDFOAIE, SUM(SUMA) AS S FROM %1 GROUP BY "
                                                  "IDFOAIE ORDER BY IDFOAIE")
                                       .arg(table(dir, "Sosiri.dbf")))
                                   .out);
        QCOMPARE(sheets.size(), 61);
        QHash<QByteArray, double> lineSums;
        for (qsizetype i = 1; i < sums.size(); ++i)
            lineSums.insert(sums[i][0], sums[i][1].toDouble());
        qint64 lines = 0;
        const auto all = rows(selectAll(dir, "Sosiri.dbf", "IDSOS"));
        lines = all.size() - 1;
        QVERIFY(lines >= 120 && lines <= 240);
        for (qsizetype i = 1; i < sheets.size(); ++i) {
            QCOMPARE(sheets[i][0], QByteArray::number(i));
            QVERIFY(qAbs(sheets[i][1].toDouble() - lineSums.value(sheets[i][0])) < 0.005);
        }
        QFile ini(dir.filePath(QStringLiteral("Data/Velm.ini")));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray counters = ini.readAll();
        QVERIFY(counters.startsWith(
            "[INDEX]\r\nIDFOAIE=61\r\nIDSOS=" + QByteArray::number(lines + 1) + "\r\n"));
        QVERIFY(counters.contains("CONSUM="));
    }

    // Every sum, of the whole table and of each day of the period report, equals the sum of
    // the stored amounts to the cent (this seed's costs once summed to 98784.1799999999).
    void sumsOfGeneratedSheetsAreExact() {
        QTemporaryDir dir;
        QCOMPARE(tool({QStringLiteral("generate"), dir.path(), QStringLiteral("--sheets"),
                       QStringLiteral("300"), QStringLiteral("--lines"), QStringLiteral("3"),
                       QStringLiteral("--seed"), QStringLiteral("9")})
                     .code,
                 0);
        const QString foi = table(dir, "Foi.dbf");
        const auto all =
            rows(sql(QStringLiteral("SELECT DATAX, TOTALVEN, COST FROM %1").arg(foi)).out);
        QCOMPARE(all.size(), 301);
        qint64 cost = 0;
        QMap<QByteArray, QPair<qint64, qint64>> days;
        for (qsizetype i = 1; i < all.size(); ++i) {
            QVERIFY(toCents(all[i][1]) && toCents(all[i][2]));
            cost += *toCents(all[i][2]);
            days[all[i][0]].first += *toCents(all[i][1]);
            days[all[i][0]].second += *toCents(all[i][2]);
        }
        const auto sum = rows(sql(QStringLiteral("SELECT SUM(COST) AS C FROM %1").arg(foi)).out);
        QCOMPARE(sum.size(), 2);
        QVERIFY2(toCents(sum[1][0]), sum[1][0].constData());
        QCOMPARE(*toCents(sum[1][0]), cost);
        // The generator fills the current year.
        const int year = QDate::currentDate().year();
        const auto period = rows(sql(QStringLiteral("SELECT DATAX, SUM(TOTALVEN) AS TV, SUM(COST) "
                                                    "AS TC\nFROM %1\nWHERE DATAX>=\"%2-01-01\"\n"
                                                    "AND DATAX<=\"%2-12-31\"\nGROUP BY DATAX\n"
                                                    "ORDER BY DATAX")
                                         .arg(foi)
                                         .arg(year))
                                     .out);
        QCOMPARE(period.size(), days.size() + 1);
        qsizetype row = 1;
        for (auto it = days.cbegin(); it != days.cend(); ++it, ++row) {
            QCOMPARE(period[row][0], it.key());
            QVERIFY2(toCents(period[row][1]) && toCents(period[row][2]),
                     (period[row][1] + ' ' + period[row][2]).constData());
            QCOMPARE(*toCents(period[row][1]), it.value().first);
            QCOMPARE(*toCents(period[row][2]), it.value().second);
        }
    }

    void aNumberOfHundredsOfDigitsIsRefused() {
        QTemporaryDir dir;
        QCOMPARE(tool({QStringLiteral("generate"), dir.path(), QStringLiteral("--sheets"),
                       QStringLiteral("2"), QStringLiteral("--lines"), QStringLiteral("1")})
                     .code,
                 0);
        const QByteArray before = selectAll(dir, "Foi.dbf", "IDFOAIE");
        const Run run = sql(QStringLiteral("UPDATE %1\nSET TOTALVEN=TOTALVEN+2%2")
                                .arg(table(dir, "Foi.dbf"), QString(306, u'0')));
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains("prea multe cifre"), run.err.constData());
        QCOMPARE(selectAll(dir, "Foi.dbf", "IDFOAIE"), before);
    }

    void generationFollowsTheSeed() {
        QTemporaryDir a;
        QTemporaryDir b;
        QTemporaryDir c;
        for (QTemporaryDir *dir : {&a, &b, &c}) {
            const QString seed = dir == &c ? QStringLiteral("2") : QStringLiteral("1");
            QCOMPARE(tool({QStringLiteral("generate"), dir->path(), QStringLiteral("--sheets"),
                           QStringLiteral("25"), QStringLiteral("--lines"), QStringLiteral("2"),
                           QStringLiteral("--seed"), seed})
                         .code,
                     0);
        }
        QCOMPARE(selectAll(a, "Foi.dbf", "IDFOAIE"), selectAll(b, "Foi.dbf", "IDFOAIE"));
        QCOMPARE(selectAll(a, "Sosiri.dbf", "IDSOS"), selectAll(b, "Sosiri.dbf", "IDSOS"));
        QVERIFY(selectAll(a, "Foi.dbf", "IDFOAIE") != selectAll(c, "Foi.dbf", "IDFOAIE"));
    }

    void packRemovesDeletedRows() {
        QTemporaryDir dir;
        QCOMPARE(tool({QStringLiteral("generate"), dir.path(), QStringLiteral("--sheets"),
                       QStringLiteral("10"), QStringLiteral("--lines"), QStringLiteral("1")})
                     .code,
                 0);
        const QString foi = dir.filePath(QStringLiteral("Data/FOI.DBF"));
        const qint64 before = QFileInfo(foi).size();
        QCOMPARE(
            sql(QStringLiteral("DELETE FROM %1\nWHERE IDFOAIE=3").arg(table(dir, "Foi.dbf"))).code,
            0);
        QCOMPARE(QFileInfo(foi).size(), before);
        QCOMPARE(tool({QStringLiteral("pack"), dir.path()}).code, 0);
        QVERIFY(QFileInfo(foi).size() < before);
        const auto left = rows(selectAll(dir, "Foi.dbf", "IDFOAIE"));
        QCOMPARE(left.size(), 10);
        for (const QByteArrayList &row : left)
            QVERIFY(row[0] != "3");
    }
};

QTEST_GUILESS_MAIN(TestVelmoraTool)
#include "tst_velmoratool.moc"
