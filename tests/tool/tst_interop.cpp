// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The tables as another dBASE reader sees them (Python's dbfread, which picks the code page
// from the table's language driver byte): declared column types and cp1250 text.
class TestInterop : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // The system's Python, where the distribution's dbfread package lives.
    static QString python() {
        const QString system = QStringLiteral("/usr/bin/python3");
        return QFile::exists(system) ? system : QStringLiteral("python3");
    }

    static QByteArray run(const QString &program, const QStringList &args,
                          const QByteArray &in = {}) {
        QProcess process;
        process.start(program, args);
        if (!process.waitForStarted())
            return {};
        process.write(in);
        process.closeWriteChannel();
        process.waitForFinished(60000);
        if (process.exitCode() != 0)
            qWarning("%s", process.readAllStandardError().constData());
        return process.readAllStandardOutput();
    }

    QJsonObject read(const char *file) {
        static const char script[] = R"(
import json, sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding=None, char_decode_errors='strict')
print(json.dumps({'version': t.header.dbversion, 'driver': t.header.language_driver,
                  'fields': [[f.name, f.type, f.length, f.decimal_count] for f in t.fields],
                  'rows': [{k: str(v) for k, v in r.items()} for r in t]}))
)";
        const QByteArray out =
            run(python(), {QStringLiteral("-c"), QString::fromLatin1(script),
                           m_dir.filePath(QStringLiteral("Data/")) + QLatin1String(file)});
        return QJsonDocument::fromJson(out).object();
    }

private Q_SLOTS:
    void initTestCase() {
        if (QProcess::execute(python(), {QStringLiteral("-c"), QStringLiteral("import dbfread")}) !=
            0)
            QSKIP("python3-dbfread is not installed");
        const QString tool = QStringLiteral(VELMORA_TOOL);
        QVERIFY(QProcess::execute(tool, {QStringLiteral("init"), m_dir.path()}) == 0);
        const QString foi = m_dir.filePath(QStringLiteral("Data/Foi.dbf"));
        run(tool, {QStringLiteral("sql")},
            QStringLiteral("INSERT INTO \"%1\" (IDFOAIE,DATAX,ORA,NRMAS,SOFER1,TOTALVEN,TKM,CONSUM)"
                           " VALUES (7,\"2007-01-20\",\"14:05\",\"B12ABC\","
                           "\"\u0218TEF\u0102NESCU \u0162U\u0162U\",150.5,120,7.5)")
                .arg(foi)
                .toUtf8());
        run(tool, {QStringLiteral("sql")},
            QStringLiteral("INSERT INTO \"%1\" (IDSOS,IDFOAIE,PLESOS,TIMP,SUMA) VALUES "
                           "(1,7,\"PLECARE\",39102.5868,150.5)")
                .arg(m_dir.filePath(QStringLiteral("Data/Sosiri.dbf")))
                .toUtf8());
    }

    void sheetsTable() {
        const QJsonObject table = read("FOI.DBF");
        QCOMPARE(table.value(QStringLiteral("driver")).toInt(), 0xC8);
        const QJsonArray expected = QJsonDocument::fromJson(R"([
            ["IDFOAIE","N",11,0],["ORA","C",5,0],["NRMAS","C",9,0],["DATAX","D",8,0],
            ["SOFER1","C",32,0],["SOFER2","C",32,0],["LOCPARC","C",40,0],["TOTALVEN","N",10,2],
            ["TKM","N",9,0],["CONSUM","N",8,2],["PRETL","N",8,2],["COST","N",10,2]])")
                                        .array();
        QCOMPARE(table.value(QStringLiteral("fields")).toArray(), expected);
        const QJsonArray rows = table.value(QStringLiteral("rows")).toArray();
        QCOMPARE(rows.size(), 1);
        const QJsonObject row = rows.first().toObject();
        QCOMPARE(row.value(QStringLiteral("IDFOAIE")).toString(), QStringLiteral("7"));
        QCOMPARE(row.value(QStringLiteral("DATAX")).toString(), QStringLiteral("2007-01-20"));
        QCOMPARE(row.value(QStringLiteral("SOFER1")).toString(),
                 QStringLiteral("\u015ETEF\u0102NESCU \u0162U\u0162U"));
        QCOMPARE(row.value(QStringLiteral("TOTALVEN")).toString(), QStringLiteral("150.5"));
        QCOMPARE(row.value(QStringLiteral("SOFER2")).toString(), QString());
    }

    void linesTable() {
        const QJsonObject table = read("Sosiri.DBF");
        QCOMPARE(table.value(QStringLiteral("driver")).toInt(), 0xC8);
        const QJsonArray expected = QJsonDocument::fromJson(R"([
            ["IDSOS","N",11,0],["IDFOAIE","N",11,0],["PLESOS","C",32,0],["TIMP","N",11,4],
            ["SUMA","N",10,2]])")
                                        .array();
        QCOMPARE(table.value(QStringLiteral("fields")).toArray(), expected);
        const QJsonObject row = table.value(QStringLiteral("rows")).toArray().first().toObject();
        QCOMPARE(row.value(QStringLiteral("TIMP")).toString(), QStringLiteral("39102.5868"));
        QCOMPARE(row.value(QStringLiteral("PLESOS")).toString(), QStringLiteral("PLECARE"));
    }
};

QTEST_GUILESS_MAIN(TestInterop)
#include "tst_interop.moc"
