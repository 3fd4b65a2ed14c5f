// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivebytes.h"
#include "filebytes.h"
#include "store/lockholder.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// velmora-tool backup, restore and verify as a scheduled job uses them: exit status, output,
// and a damaged archive that never costs a file.
class TestBackupTool : public QObject {
    Q_OBJECT

    struct Run {
        int code = -1;
        QByteArray out;
        QByteArray err;
    };

    QTemporaryDir m_home;

    Run tool(const QStringList &args) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_home.path());
        env.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u"config"_s));
        env.insert(u"ASAN_OPTIONS"_s, u"detect_leaks=0"_s);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VELMORA_TOOL), args);
        if (!process.waitForFinished(120000))
            qFatal("velmora-tool does not finish");
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    static void fill(const QTemporaryDir &program) {
        QVERIFY(QDir(program.path()).mkpath(u"Data"_s));
        putBytes(program.filePath(u"Data/Foi.dbf"_s), tableLike(400 * 1024, 1));
        putBytes(program.filePath(u"Data/Velm.ini"_s), "[IDFOAIE]\r\nIDFOAIE=3\r\n");
        putBytes(program.filePath(u"Data/Foi.dbf.jnl"_s), "journal");
    }

private Q_SLOTS:
    void backupVerifyRestore() {
        QTemporaryDir from;
        fill(from);
        const QString archive = from.filePath(u"copie.vmr"_s);

        const Run backup = tool({u"backup"_s, from.path(), archive});
        QCOMPARE(backup.code, 0);
        QCOMPARE(backup.out, QByteArray("2 files saved\n"));

        const Run verify = tool({u"verify"_s, archive});
        QCOMPARE(verify.code, 0);
        QCOMPARE(verify.out, QByteArray("Data\\Foi.dbf\t409600\nData\\Velm.ini\t22\n"));

        QTemporaryDir to;
        QVERIFY(QDir(to.path()).mkpath(u"Data"_s));
        putBytes(to.filePath(u"Data/Sosiri.dbf"_s), "not in the archive");
        const Run restore = tool({u"restore"_s, to.path(), archive});
        QCOMPARE(restore.code, 0);
        QCOMPARE(QDir(to.filePath(u"Data"_s)).entryList(QDir::Files, QDir::Name),
                 QStringList({u"Foi.dbf"_s, u"Velm.ini"_s}));
        QCOMPARE(bytesOf(to.filePath(u"Data/Foi.dbf"_s)),
                 bytesOf(from.filePath(u"Data/Foi.dbf"_s)));
    }

    void damagedArchiveFails() {
        QTemporaryDir program;
        fill(program);
        const QString archive = program.filePath(u"copie.vmr"_s);
        QCOMPARE(tool({u"backup"_s, program.path(), archive}).code, 0);
        QByteArray bytes = bytesOf(archive);
        bytes.chop(3);
        putBytes(archive, bytes);
        const QByteArray before = bytesOf(program.filePath(u"Data/Foi.dbf"_s));
        putBytes(program.filePath(u"Data/Foi.dbf"_s), "current");

        const Run verify = tool({u"verify"_s, archive});
        QCOMPARE(verify.code, 1);
        QVERIFY2(verify.err.contains("deteriorata"), verify.err.constData());
        const Run restore = tool({u"restore"_s, program.path(), archive});
        QCOMPARE(restore.code, 1);
        QVERIFY2(restore.err.contains("deteriorata"), restore.err.constData());
        QCOMPARE(bytesOf(program.filePath(u"Data/Foi.dbf"_s)), QByteArray("current"));
    }

    void emptyDataIsAnError() {
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath(u"Data"_s));
        const Run backup = tool({u"backup"_s, program.path(), program.filePath(u"a.vmr"_s)});
        QCOMPARE(backup.code, 1);
        QVERIFY(!backup.err.isEmpty());
        QVERIFY(!QFile::exists(program.filePath(u"a.vmr"_s)));
    }

    // A reader elsewhere shares its moment with the backup; a writer elsewhere holds it off,
    // and the backup says why instead of copying a table half written.
    void backupWhileAnotherProgramHoldsTheData_data() {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<bool>("saved");
        QTest::newRow("reader") << QByteArray("shared") << true;
        QTest::newRow("writer") << QByteArray("exclusive") << false;
    }
    void backupWhileAnotherProgramHoldsTheData() {
        QFETCH(QByteArray, mode);
        QFETCH(bool, saved);
        QTemporaryDir program;
        fill(program);
        // No interrupted change to bring back, which only an exclusive holder may do.
        QVERIFY(QFile::remove(program.filePath(u"Data/Foi.dbf.jnl"_s)));
        const auto holder = holdLockElsewhere(program.filePath(u"Data"_s), mode.constData());
        QVERIFY(holder);
        const QString archive = program.filePath(u"copie.vmr"_s);
        const Run backup = tool({u"backup"_s, program.path(), archive});
        releaseLock(*holder);
        QCOMPARE(backup.code, saved ? 0 : 1);
        QCOMPARE(QFile::exists(archive), saved);
        if (!saved)
            QVERIFY2(backup.err.contains("folosita de alt program"), backup.err.constData());
    }

    void restoreRefusedWhileAnotherProgramUsesTheData() {
        QTemporaryDir program;
        fill(program);
        const QString archive = program.filePath(u"copie.vmr"_s);
        QCOMPARE(tool({u"backup"_s, program.path(), archive}).code, 0);
        putBytes(program.filePath(u"Data/Foi.dbf"_s), "current");
        const auto holder = holdLockElsewhere(program.filePath(u"Data"_s), "shared");
        QVERIFY(holder);
        const Run restore = tool({u"restore"_s, program.path(), archive});
        releaseLock(*holder);
        QCOMPARE(restore.code, 1);
        QVERIFY2(restore.err.contains("folosita de alt program"), restore.err.constData());
        QVERIFY2(restore.err.contains("neschimbat"), restore.err.constData());
        QCOMPARE(bytesOf(program.filePath(u"Data/Foi.dbf"_s)), QByteArray("current"));
        // Once the other program is gone the same archive restores.
        QCOMPARE(tool({u"restore"_s, program.path(), archive}).code, 0);
        QCOMPARE(bytesOf(program.filePath(u"Data/Foi.dbf"_s)), tableLike(400 * 1024, 1));
    }

    void wrongUsage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("backup without archive") << QStringList{u"backup"_s, u"/tmp"_s};
        QTest::newRow("restore without archive") << QStringList{u"restore"_s, u"/tmp"_s};
        QTest::newRow("verify with two") << QStringList{u"verify"_s, u"a"_s, u"b"_s};
    }
    void wrongUsage() {
        QFETCH(QStringList, args);
        QCOMPARE(tool(args).code, 2);
    }
};

QTEST_GUILESS_MAIN(TestBackupTool)
#include "tst_backuptool.moc"
