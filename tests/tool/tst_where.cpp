// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// velmora-tool where: the program directory that the program beside the tool would use.
class TestWhere : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;

    struct Run {
        int code = -1;
        QByteArray out;
    };

    Run where(const QString &tool) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_root.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        process.setProcessEnvironment(env);
        process.start(tool, {QStringLiteral("where")});
        if (!process.waitForFinished(60000))
            qFatal("velmora-tool does not finish");
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput()};
    }

private Q_SLOTS:
    void portableCopyUsesItsOwnFolder() {
        const Run run = where(QStringLiteral(VELMORA_TOOL));
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out,
                 QFile::encodeName(QFileInfo(QStringLiteral(VELMORA_TOOL)).absolutePath()) + '\n');
    }

    void installedCopyUsesTheProgramsDataLocation() {
        const QString bin = m_root.filePath(QStringLiteral("usr/bin"));
        QVERIFY(QDir().mkpath(bin));
        QVERIFY(QDir().mkpath(m_root.filePath(QStringLiteral("usr/share/velmora"))));
        const QString tool = bin + QStringLiteral("/velmora-tool");
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_TOOL), tool));
        const Run run = where(tool);
        QCOMPARE(run.code, 0);
        // The name under which the program itself runs, "Velmora v.1.01".
        QCOMPARE(run.out,
                 QFile::encodeName(m_root.filePath(QStringLiteral("data/Velmora v.1.01"))) + '\n');
        // Only says where; making the folder is the program's first start.
        QVERIFY(!QFileInfo::exists(m_root.filePath(QStringLiteral("data"))));
    }
};

QTEST_GUILESS_MAIN(TestWhere)
#include "tst_where.moc"
