// SPDX-License-Identifier: GPL-3.0-or-later
#include "filebytes.h"
#include "toolrun.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// velmora-tool backup PROGRAMDIR --to FOLDER --keep N, as the daily timer runs it.
class TestBackupFolder : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    using Run = velmora::test::ToolRun;

    Run tool(const QStringList &args) {
        return velmora::test::runTool(QStringLiteral(VELMORA_TOOL), args,
                                      velmora::test::toolEnvironment(m_home.path()));
    }

    static QStringList archives(const QString &folder) {
        static const QRegularExpression dated(
            QStringLiteral("^Velmora-\\d{4}-\\d{2}-\\d{2}-\\d{4}\\.vmr$"));
        return QDir(folder).entryList(QDir::Files, QDir::Name).filter(dated);
    }

    // Older archives, the oldest first, and a file of the user's.
    static void fill(const QString &folder) {
        QVERIFY(QDir().mkpath(folder));
        for (const char *name : {"Velmora-2020-01-01-0300.vmr", "Velmora-2020-01-02-0300.vmr",
                                 "Velmora-2020-01-03-0300.vmr"})
            putBytes(folder + u'/' + QLatin1String(name), "old");
        putBytes(folder + QStringLiteral("/citeste.txt"), "mine");
    }

private Q_SLOTS:
    void keepsTheNewestAndNothingElse() {
        QTemporaryDir program;
        QCOMPARE(tool({QStringLiteral("init"), program.path()}).code, 0);
        const QString folder = m_home.filePath(QStringLiteral("Velmora-salvari"));
        fill(folder);

        const Run run = tool({QStringLiteral("backup"), program.path(), QStringLiteral("--to"),
                              folder, QStringLiteral("--keep"), QStringLiteral("2")});
        QCOMPARE(run.code, 0);
        const QStringList kept = archives(folder);
        QCOMPARE(kept.size(), 2);
        QCOMPARE(kept.first(), QStringLiteral("Velmora-2020-01-03-0300.vmr"));
        QVERIFY(kept.last() > QStringLiteral("Velmora-2026"));
        QCOMPARE(bytesOf(folder + QStringLiteral("/citeste.txt")), QByteArray("mine"));

        // The new archive is a whole one.
        const Run verify = tool({QStringLiteral("verify"), folder + u'/' + kept.last()});
        QCOMPARE(verify.code, 0);
        QVERIFY(verify.out.contains("FOI.DBF"));
    }

    void aFailedBackupRemovesNothing() {
        QTemporaryDir program; // no Data: nothing to save
        const QString folder = m_home.filePath(QStringLiteral("salvari-esuate"));
        fill(folder);
        const Run run = tool({QStringLiteral("backup"), program.path(), QStringLiteral("--to"),
                              folder, QStringLiteral("--keep"), QStringLiteral("1")});
        QCOMPARE(run.code, 1);
        QVERIFY(!run.err.isEmpty());
        QCOMPARE(archives(folder).size(), 3);
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 4);
    }

    void wrongUsage_data() {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("no --keep") << QStringList{QStringLiteral("--to"), QStringLiteral("x")};
        QTest::newRow("no --to") << QStringList{QStringLiteral("--keep"), QStringLiteral("3")};
        QTest::newRow("keep none") << QStringList{QStringLiteral("--to"), QStringLiteral("x"),
                                                  QStringLiteral("--keep"), QStringLiteral("0")};
        QTest::newRow("keep words")
            << QStringList{QStringLiteral("--to"), QStringLiteral("x"), QStringLiteral("--keep"),
                           QStringLiteral("zece")};
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("--to"), QStringLiteral("x"), QStringLiteral("--keep"),
                           QStringLiteral("3"), QStringLiteral("--fast")};
        QTest::newRow("value missing") << QStringList{QStringLiteral("--to")};
    }

    void wrongUsage() {
        QFETCH(QStringList, options);
        QTemporaryDir program;
        QCOMPARE(tool({QStringLiteral("init"), program.path()}).code, 0);
        const Run run = tool(QStringList{QStringLiteral("backup"), program.path()} + options);
        QCOMPARE(run.code, 2);
        QVERIFY(!QFileInfo::exists(QDir::current().filePath(QStringLiteral("x"))));
    }
};

QTEST_GUILESS_MAIN(TestBackupFolder)
#include "tst_backupfolder.moc"
