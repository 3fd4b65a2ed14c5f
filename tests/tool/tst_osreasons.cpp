// SPDX-License-Identifier: GPL-3.0-or-later
#include "filebytes.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The system's reasons inside velmora-tool's messages are said in Romanian, as the tables'
// own messages say them: a missing folder, a folder where a file should be, a file where a
// folder should be. (Tests may run as the administrator, whom permissions do not stop, so
// no case rests on a file made unreadable.)
class TestOsReasons : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;

    QString path(const QString &name) const { return m_root.filePath(name); }

    struct Run {
        int code = -1;
        QString err;
    };

    Run tool(const QStringList &args) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VELMORA_TOOL), args);
        if (!process.waitForFinished(120000))
            qFatal("velmora-tool does not finish");
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardError())};
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_root.isValid());
        QCOMPARE(tool({QStringLiteral("init"), path(QStringLiteral("program"))}).code, 0);
        QVERIFY(QDir().mkpath(path(QStringLiteral("folder"))));
        putBytes(path(QStringLiteral("file")), "a file");
    }

    void reasonsAreRomanian_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reason");
        const QString program = path(QStringLiteral("program"));
        const QString missing = QStringLiteral("fisierul sau directorul nu exista");
        const QString folder = QStringLiteral("este un director");
        QTest::newRow("backup into a missing folder")
            << QStringList{QStringLiteral("backup"), program, path(QStringLiteral("no/a.vmr"))}
            << missing;
        QTest::newRow("backup onto a folder")
            << QStringList{QStringLiteral("backup"), program, path(QStringLiteral("folder"))}
            << folder;
        QTest::newRow("backup below a file")
            << QStringList{QStringLiteral("backup"), program, path(QStringLiteral("file/a.vmr"))}
            << QStringLiteral("o parte a caii nu este un director");
        QTest::newRow("verify a missing archive")
            << QStringList{QStringLiteral("verify"), path(QStringLiteral("no.vmr"))} << missing;
        QTest::newRow("verify a folder")
            << QStringList{QStringLiteral("verify"), path(QStringLiteral("folder"))} << folder;
        QTest::newRow("restore from a folder")
            << QStringList{QStringLiteral("restore"), program, path(QStringLiteral("folder"))}
            << folder;
        QTest::newRow("report into a missing folder")
            << QStringList{QStringLiteral("report"), program, QStringLiteral("2026-01-01"),
                           QStringLiteral("2026-01-31"), path(QStringLiteral("no/r.pdf"))}
            << missing;
        QTest::newRow("report onto a folder")
            << QStringList{QStringLiteral("report"), program, QStringLiteral("2026-01-01"),
                           QStringLiteral("2026-01-31"), path(QStringLiteral("folder"))}
            << folder;
    }

    void reasonsAreRomanian() {
        QFETCH(QStringList, args);
        QFETCH(QString, reason);
        const Run run = tool(args);
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral(": ") + reason), qPrintable(run.err));
        // The reason is said once, in Romanian only.
        for (const char *english : {"No such file", "directory", "Not a"})
            QVERIFY2(!run.err.contains(QLatin1String(english)), qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(TestOsReasons)
#include "tst_osreasons.moc"
