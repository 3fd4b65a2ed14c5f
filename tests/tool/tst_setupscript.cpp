// SPDX-License-Identifier: GPL-3.0-or-later
#include "filebytes.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// scripts/setup.sh run by itself, as a new developer runs it. The package tools it calls are
// replaced by small stand-ins on PATH: dpkg-query answers from a list of missing packages,
// apt-get and sudo only write down what they were asked, so nothing is ever installed here.
class TestSetupScript : public QObject {
    Q_OBJECT

    QTemporaryDir m_stubs;

    struct Run {
        int code = -1;
        QByteArray err;
        QByteArray apt; // one line per apt-get call
    };

    void writeStub(const char *name, const QByteArray &body) {
        const QString path = m_stubs.filePath(QLatin1String(name));
        putBytes(path, "#!/bin/sh\n" + body);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther | QFile::ExeOther));
    }

    Run setup(const QStringList &args, const QString &missing, bool aptFails = false) {
        const QString log = m_stubs.filePath(QStringLiteral("apt.log"));
        QFile::remove(log);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PATH"),
                   m_stubs.path() + u':' + env.value(QStringLiteral("PATH")));
        env.insert(QStringLiteral("STUB_MISSING"), u' ' + missing + u' ');
        env.insert(QStringLiteral("STUB_APT_LOG"), log);
        env.insert(QStringLiteral("STUB_APT_STATUS"),
                   aptFails ? QStringLiteral("100") : QStringLiteral("0"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral("bash"), QStringList{QStringLiteral(VELMORA_SETUP)} + args);
        if (!process.waitForFinished(60000))
            qFatal("setup.sh does not finish");
        Run run{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardError(),
                {}};
        QFile file(log);
        if (file.open(QIODevice::ReadOnly))
            run.apt = file.readAll();
        return run;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_stubs.isValid());
        // "install ok installed" for every package but those named in STUB_MISSING.
        writeStub("dpkg-query", "eval \"p=\\${$#}\"\n"
                                "case \"$STUB_MISSING\" in *\" $p \"*) exit 1 ;; esac\n"
                                "printf 'install ok installed'\n");
        writeStub("apt-get", "echo \"$*\" >> \"$STUB_APT_LOG\"\nexit \"$STUB_APT_STATUS\"\n");
        writeStub("sudo", "exec \"$@\"\n");
    }

    void installsOnlyWhatIsMissing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QByteArray>("apt");
        const QStringList none;
        const QStringList bench{QStringLiteral("--bench")};
        QTest::newRow("nothing to do") << none << QString() << QByteArray();
        QTest::newRow("nothing to do, with --bench") << bench << QString() << QByteArray();
        QTest::newRow("a build package missing")
            << none << QStringLiteral("zlib1g-dev")
            << QByteArray("update\ninstall -y --no-install-recommends zlib1g-dev\n");
        QTest::newRow("a benchmark package missing, with --bench")
            << bench << QStringLiteral("hyperfine")
            << QByteArray("update\ninstall -y --no-install-recommends hyperfine\n");
        QTest::newRow("a benchmark package missing, without --bench")
            << none << QStringLiteral("hyperfine") << QByteArray();
    }

    void installsOnlyWhatIsMissing() {
        QFETCH(QStringList, args);
        QFETCH(QString, missing);
        QFETCH(QByteArray, apt);
        const Run run = setup(args, missing);
        QVERIFY2(run.code == 0, run.err.constData());
        QCOMPARE(run.apt, apt);
    }

    // A failed installation is not hidden behind a successful exit.
    void aFailedInstallationFails() {
        const Run run = setup({}, QStringLiteral("zlib1g-dev"), true);
        QCOMPARE(run.code, 100);
        QVERIFY(run.apt.startsWith("update\n"));
    }
};

QTEST_GUILESS_MAIN(TestSetupScript)
#include "tst_setupscript.moc"
