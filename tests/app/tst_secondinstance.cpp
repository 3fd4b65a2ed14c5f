// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The program itself, started as a user would: a second copy must leave without a window
// while the first runs, and a copy killed without cleaning up must not block the next start.
class TestSecondInstance : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    // A copy of the program in its own directory, so that each has its own Data.
    QString install(const QTemporaryDir &dir) {
        const QString target = dir.filePath(QStringLiteral("velmora"));
        QFile::remove(target);
        if (!QFile::copy(QStringLiteral(VELMORA_BINARY), target))
            qFatal("cannot copy the program");
        QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeOwner);
        return target;
    }

    void prepare(QProcess &process, const QString &program) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("TMPDIR"), m_home.filePath(QStringLiteral("tmp")));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        process.setProcessEnvironment(env);
        process.setProgram(program);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }

    static bool startedUp(const QTemporaryDir &dir) {
        return QFile::exists(dir.filePath(QStringLiteral("Data/Sosiri.DBF")));
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(QDir(m_home.path()).mkpath(QStringLiteral("tmp"))); }

    void secondCopyLeavesWithoutAWindow() {
        QTemporaryDir firstDir;
        QTemporaryDir secondDir;
        QProcess first;
        prepare(first, install(firstDir));
        first.start();
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(startedUp(firstDir), 30000);

        QProcess second;
        prepare(second, install(secondDir));
        second.start();
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        // It never got as far as its start-up work.
        QVERIFY(!QFile::exists(secondDir.filePath(QStringLiteral("Data"))));
        QCOMPARE(first.state(), QProcess::Running);

        // A copy that dies without cleaning up leaves its lock and socket behind.
        first.kill();
        QVERIFY(first.waitForFinished(10000));
        QProcess third;
        prepare(third, install(secondDir));
        third.start();
        QVERIFY(third.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(startedUp(secondDir), 30000);
        QCOMPARE(third.state(), QProcess::Running);
        third.kill();
        QVERIFY(third.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestSecondInstance)
#include "tst_secondinstance.moc"
