// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "filebytes.h"
#include "sanitizers.h"
#include "store/lockholder.h"
#include "toolrun.h"

using namespace Qt::StringLiterals;

// velmora-tool beside another program on the same directory, on damaged data and on messages.
class TestToolSafety : public QObject {
    Q_OBJECT

    using Run = velmora::test::ToolRun;

    QTemporaryDir m_home;
    QString m_asanOptions = u"detect_leaks=0"_s;

    QProcessEnvironment environment() const {
        QProcessEnvironment env = velmora::test::toolEnvironment(m_home.path());
        env.insert(u"ASAN_OPTIONS"_s, m_asanOptions);
        return env;
    }

    void start(QProcess &process, const QStringList &args, const QString &program = {}) {
        velmora::test::startTool(process,
                                 program.isEmpty() ? QStringLiteral(VELMORA_TOOL) : program, args,
                                 environment());
    }

    static Run finish(QProcess &process) { return velmora::test::finishTool(process); }

    Run tool(const QStringList &args, const QByteArray &input = {}, const QString &program = {}) {
        return velmora::test::runTool(program.isEmpty() ? QStringLiteral(VELMORA_TOOL) : program,
                                      args, environment(), input);
    }

    // Every row of a table as Python's dbfread reads it: count, and the distinct values of
    // the first column.
    static QJsonObject readWithDbfread(const QString &path) {
        static const char script[] = R"(
import json, sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1250')
ids = [r[t.field_names[0]] for r in t]
print(json.dumps({'rows': len(ids), 'distinct': len(set(ids)), 'header': t.header.numrecords}))
)";
        QProcess python;
        python.start(QFile::exists(u"/usr/bin/python3"_s) ? u"/usr/bin/python3"_s : u"python3"_s,
                     {u"-c"_s, QString::fromLatin1(script), path});
        python.waitForFinished(60000);
        return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    }

    // The file a table was created as (FOI.DBF, Sosiri.DBF), found without regard to case.
    static QString tableFile(const QTemporaryDir &dir, const QString &name) {
        const QDir data(dir.filePath(u"Data"_s));
        for (const QString &entry : data.entryList(QDir::Files)) {
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return data.filePath(entry);
        }
        return data.filePath(name);
    }

private Q_SLOTS:
    void twoGeneratorsAtOnceKeepEverySheet() {
        QTemporaryDir dir;
        QCOMPARE(tool({u"init"_s, dir.path()}).code, 0);
        QProcess first;
        QProcess second;
        const QStringList args = {u"generate"_s, dir.path(), u"--sheets"_s, u"3000"_s,
                                  u"--lines"_s,  u"1"_s,     u"--seed"_s};
        start(first, args + QStringList{u"1"_s});
        start(second, args + QStringList{u"2"_s});
        first.closeWriteChannel();
        second.closeWriteChannel();
        const Run a = finish(first);
        const Run b = finish(second);
        QVERIFY2(a.code == 0, a.err.constData());
        QVERIFY2(b.code == 0, b.err.constData());

        const QJsonObject sheets = readWithDbfread(tableFile(dir, u"Foi.dbf"_s));
        QCOMPARE(sheets.value(u"header"_s).toInt(), 6000);
        QCOMPARE(sheets.value(u"rows"_s).toInt(), 6000);
        QCOMPARE(sheets.value(u"distinct"_s).toInt(), 6000);
        const QJsonObject lines = readWithDbfread(tableFile(dir, u"Sosiri.dbf"_s));
        QCOMPARE(lines.value(u"rows"_s).toInt(), lines.value(u"header"_s).toInt());
        QCOMPARE(lines.value(u"distinct"_s).toInt(), lines.value(u"rows"_s).toInt());
        const QByteArray ini = bytesOf(dir.filePath(u"Data/Velm.ini"_s));
        QVERIFY2(ini.contains("IDFOAIE=6001\r\n"), ini.constData());
        QCOMPARE(ini.count("[INDEX]"), 1);
    }

    void aSecondWriterWaitsThenSaysWhy() {
        QTemporaryDir dir;
        QCOMPARE(tool({u"init"_s, dir.path()}).code, 0);
        const QString data = dir.filePath(u"Data"_s);
        const QByteArray before = bytesOf(tableFile(dir, u"Foi.dbf"_s));
        const auto holder = holdLockElsewhere(data, "exclusive");
        QVERIFY(holder);
        QElapsedTimer waited;
        waited.start();
        const Run run = tool({u"sql"_s}, "DELETE FROM \"" + data.toUtf8() + "/Foi.dbf\"");
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains("folosita de alt program"), run.err.constData());
        QVERIFY(waited.elapsed() >= 2000);
        QCOMPARE(bytesOf(tableFile(dir, u"Foi.dbf"_s)), before);
        releaseLock(*holder);
        QCOMPARE(tool({u"sql"_s}, "DELETE FROM \"" + data.toUtf8() + "/Foi.dbf\"").code, 0);
    }

    void packRepairsATableCutShortAndSaysSo() {
        QTemporaryDir dir;
        QCOMPARE(
            tool({u"generate"_s, dir.path(), u"--sheets"_s, u"6"_s, u"--lines"_s, u"0"_s}).code, 0);
        const QString foi = tableFile(dir, u"Foi.dbf"_s);
        QFile file(foi);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray head = file.read(12);
        const int headerLength = quint8(head[8]) | quint8(head[9]) << 8;
        const int recordLength = quint8(head[10]) | quint8(head[11]) << 8;
        QVERIFY(file.resize(headerLength + 3 * recordLength + 20));
        file.close();

        const Run packed = tool({u"pack"_s, dir.path()});
        QCOMPARE(packed.code, 0);
        QVERIFY2(packed.out.contains("FOI.DBF") && packed.out.contains(".cut-"),
                 packed.out.constData());
        QCOMPARE(readWithDbfread(foi).value(u"header"_s).toInt(), 3);
        // Told once: the table is whole again.
        const Run again = tool({u"pack"_s, dir.path()});
        QCOMPARE(again.code, 0);
        QCOMPARE(again.out, QByteArray());
    }

    void lineNumbersCountTheBlankLinesBefore() {
        const Run run = tool({u"sql"_s}, "\n\n   SELEC * FROM \"x.dbf\"\n");
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains("linia 3, coloana 4"), run.err.constData());
    }

    void runningOutOfMemoryIsSaidInWords() {
        QTemporaryDir dir;
        QCOMPARE(tool({u"init"_s, dir.path()}).code, 0);
        // A table of 400 MB (sparse on disk): read whole, it cannot fit into 300 MB.
        const QString foi = tableFile(dir, u"Foi.dbf"_s);
        QFile file(foi);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray head = file.read(12);
        const qint64 headerLength = quint8(head[8]) | quint8(head[9]) << 8;
        const qint64 recordLength = quint8(head[10]) | quint8(head[11]) << 8;
        const qint64 records = (qint64(400) << 20) / recordLength;
        QVERIFY(file.resize(headerLength + records * recordLength));
        QVERIFY(file.seek(4));
        const quint32 count = static_cast<quint32>(records);
        const char bytes[4] = {char(count), char(count >> 8), char(count >> 16), char(count >> 24)};
        QCOMPARE(file.write(bytes, 4), 4);
        file.close();
        const QByteArray query = "SELECT * FROM \"" + foi.toUtf8() + "\"";
#ifdef VELMORA_ASAN
        // The sanitizers' shadow memory does not fit a limited address space: their allocator
        // refuses what is above 300 MB instead, as a full memory would.
        m_asanOptions = u"detect_leaks=0:allocator_may_return_null=1:max_allocation_size_mb=300"_s;
        const auto usual = qScopeGuard([this] { m_asanOptions = u"detect_leaks=0"_s; });
        const Run run = tool({u"sql"_s}, query);
#else
        QVERIFY2(!QStandardPaths::findExecutable(u"prlimit"_s).isEmpty(),
                 "prlimit (util-linux) is not installed");
        const Run run = tool({u"--as=314572800"_s, QStringLiteral(VELMORA_TOOL), u"sql"_s}, query,
                             u"prlimit"_s);
#endif
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains("Memoria calculatorului nu ajunge"), run.err.constData());
        QVERIFY(!run.err.contains("bad_alloc"));
    }
};

QTEST_GUILESS_MAIN(TestToolSafety)
#include "tst_toolsafety.moc"
