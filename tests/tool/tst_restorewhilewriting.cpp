// SPDX-License-Identifier: GPL-3.0-or-later
#include "filebytes.h"
#include "toolrun.h"

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Run = velmora::test::ToolRun;

QMap<QString, QByteArray> dataSet(const QString &programDir) {
    QMap<QString, QByteArray> files;
    const QDir data(programDir + u"/Data"_s);
    for (const QString &name : data.entryList(QDir::Files)) {
        if (name != u".velmora.lock"_s)
            files.insert(name, bytesOf(data.filePath(name)));
    }
    return files;
}

} // namespace

// A restore while another program writes: the writer was reserving identifiers from the old
// counters; once the data is replaced it must stop, not carry on in the restored tables,
// where the restored counters would later hand out the same identifiers again.
class TestRestoreWhileWriting : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    QProcessEnvironment environment() const {
        return velmora::test::toolEnvironment(m_home.path());
    }

    Run tool(const QStringList &args, const QByteArray &input = {}) {
        return velmora::test::runTool(QStringLiteral(VELMORA_TOOL), args, environment(), input);
    }

    // The identifiers of a table's first column, one per row.
    QStringList ids(const QString &programDir, const QString &table, const QString &column) {
        const Run select = tool(
            {u"sql"_s}, u"SELECT %1 FROM \"%2/Data/%3\""_s.arg(column, programDir, table).toUtf8());
        QStringList lines = QString::fromUtf8(select.out).split(u'\n', Qt::SkipEmptyParts);
        if (select.code != 0 || lines.isEmpty())
            return {u"<unreadable>"_s};
        lines.removeFirst();
        return lines;
    }

    static qint64 tableSize(const QString &programDir) {
        return QFileInfo(programDir + u"/Data/FOI.DBF"_s).size();
    }

private Q_SLOTS:
    void aGeneratorStopsWhenItsDataIsRestoredUnderIt() {
        QTemporaryDir program;
        QCOMPARE(tool({u"init"_s, program.path()}).code, 0);
        QCOMPARE(
            tool({u"generate"_s, program.path(), u"--sheets"_s, u"200"_s, u"--lines"_s, u"2"_s})
                .code,
            0);
        const QString archive = m_home.filePath(u"copie.vmr"_s);
        QCOMPARE(tool({u"backup"_s, program.path(), archive}).code, 0);
        const QMap<QString, QByteArray> saved = dataSet(program.path());

        QProcess writer;
        writer.setProcessEnvironment(environment());
        writer.start(QStringLiteral(VELMORA_TOOL),
                     {u"generate"_s, program.path(), u"--sheets"_s, u"300000"_s, u"--lines"_s,
                      u"2"_s, u"--seed"_s, u"7"_s});
        QVERIFY(writer.waitForStarted());
        writer.closeWriteChannel();
        // In the middle of its work: a few hundred sheets written already.
        const qint64 start = tableSize(program.path());
        QVERIFY(QTest::qWaitFor([&] { return tableSize(program.path()) > start + 50000; }, 60000));

        const Run restore = tool({u"restore"_s, program.path(), archive});
        QVERIFY2(restore.code == 0, restore.err.constData());

        if (!writer.waitForFinished(60000)) {
            writer.kill();
            writer.waitForFinished();
            QFAIL("the generator went on writing into the restored data");
        }
        const QByteArray said = writer.readAllStandardError();
        QCOMPARE(writer.exitCode(), 1);
        QVERIFY2(said.contains("inlocuita de o restaurare"), said.constData());

        // Exactly the archive's data, nothing of the generator's after it.
        QCOMPARE(dataSet(program.path()), saved);
        // And the restored counters go on from there without a clash.
        QCOMPARE(tool({u"generate"_s, program.path(), u"--sheets"_s, u"300"_s, u"--lines"_s, u"2"_s,
                       u"--seed"_s, u"9"_s})
                     .code,
                 0);
        for (const auto &[table, column] :
             {std::pair{u"Foi.dbf"_s, u"IDFOAIE"_s}, std::pair{u"Sosiri.dbf"_s, u"IDSOS"_s}}) {
            const QStringList all = ids(program.path(), table, column);
            QVERIFY2(all.size() > 300, qPrintable(table));
            QCOMPARE(QSet<QString>(all.cbegin(), all.cend()).size(), all.size());
        }
    }
};

QTEST_GUILESS_MAIN(TestRestoreWhileWriting)
#include "tst_restorewhilewriting.moc"
