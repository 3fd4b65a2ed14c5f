// SPDX-License-Identifier: GPL-3.0-or-later
#include "filebytes.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Files = QMap<QString, QByteArray>;

struct Run {
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// Everything in Data but the lock file, by name.
Files dataSet(const QString &programDir) {
    Files files;
    const QDir data(programDir + u"/Data"_s);
    for (const QString &name : data.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name != u".velmora.lock"_s)
            files.insert(name, bytesOf(data.filePath(name)));
    }
    return files;
}

} // namespace

// A restore killed by the system at each step of its work, then the tool's next command on
// the same program directory, as a scheduled job would run it: the data directory is wholly
// the old one or wholly the archive's, never a mix and never fresh empty tables with their
// identifiers starting again at 1; nothing is left beside it, and the tool says what it did.
class TestRestoreKill : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_oldData;
    QString m_archive;
    Files m_old;
    Files m_new;

    Run run(const QString &program, const QStringList &args) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_tmp.path());
        env.insert(u"XDG_CONFIG_HOME"_s, m_tmp.filePath(u"config"_s));
        env.insert(u"ASAN_OPTIONS"_s, u"detect_leaks=0"_s);
        process.setProcessEnvironment(env);
        process.start(program, args);
        if (!process.waitForFinished(60000))
            qFatal("%s does not finish", qPrintable(program));
        return {process.exitStatus(), process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }
    Run tool(const QStringList &args) { return run(QStringLiteral(VELMORA_TOOL), args); }

    // A program directory with the old data, made by the tool as a clerk's would be.
    QString program(const QString &name, int sheets, int seed) {
        const QString dir = m_tmp.filePath(name);
        if (tool({u"init"_s, dir}).code != 0 ||
            tool({u"generate"_s, dir, u"--sheets"_s, QString::number(sheets), u"--lines"_s, u"3"_s,
                  u"--seed"_s, QString::number(seed)})
                    .code != 0)
            return {};
        return dir;
    }

    bool copyProgram(const QString &to) {
        if (!QDir().mkpath(to + u"/Data"_s))
            return false;
        for (auto it = m_old.cbegin(); it != m_old.cend(); ++it) {
            QFile out(to + u"/Data/"_s + it.key());
            if (!out.open(QIODevice::WriteOnly) || out.write(it.value()) != it.value().size())
                return false;
        }
        return true;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_tmp.isValid());
        const QString old = program(u"old"_s, 40, 1);
        const QString other = program(u"new"_s, 7, 2);
        QVERIFY(!old.isEmpty() && !other.isEmpty());
        // Velm.ini, a departure table and a sheet table on both sides, with other contents.
        m_old = dataSet(old);
        m_new = dataSet(other);
        QCOMPARE(m_old.keys(), m_new.keys());
        m_archive = m_tmp.filePath(u"copie.vmr"_s);
        QCOMPARE(tool({u"backup"_s, other, m_archive}).code, 0);
    }

    void killedAtEachStepThenTheNextCommand() {
        int kills = 0;
        bool sawNew = false;
        for (int step = 1; step < 200; ++step) {
            const QString dir = m_tmp.filePath(u"k"_s + QString::number(step));
            QVERIFY(copyProgram(dir));
            const Run restore =
                run(QStringLiteral(VELMORA_RESTOREKILLER), {dir, m_archive, QString::number(step)});
            if (restore.status == QProcess::NormalExit) {
                QVERIFY2(restore.code == 0, restore.err.constData());
                QCOMPARE(dataSet(dir), m_new);
                QVERIFY2(kills > 10, qPrintable(QString::number(kills)));
                QVERIFY(sawNew);
                return;
            }
            ++kills;
            const bool journal = QFile::exists(dir + u"/Data/.velmora.restaurare"_s);

            // The next start of the tool: it would create tables and pack them.
            const Run init = tool({u"init"_s, dir});
            QVERIFY2(init.code == 0, init.err.constData());
            const Files now = dataSet(dir);
            QVERIFY2(now == m_old || now == m_new,
                     qPrintable(u"a kill at step %1 left a mixed set"_s.arg(step)));
            QVERIFY2(!sawNew || now == m_new, qPrintable(u"step %1 went back"_s.arg(step)));
            sawNew = now == m_new;
            QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList{u"Data"_s});
            if (journal) {
                QVERIFY2(init.err.contains("acum a fost dusa la capat"), init.err.constData());
                QCOMPARE(now, m_new);
            }
            // Said once: the command after has nothing more to say.
            const Run next = tool({u"pack"_s, dir});
            QCOMPARE(next.code, 0);
            QCOMPARE(next.err, QByteArray());
        }
        QFAIL("the restore never ran through");
    }
};

QTEST_GUILESS_MAIN(TestRestoreKill)
#include "tst_restorekill.moc"
