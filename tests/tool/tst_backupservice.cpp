// SPDX-License-Identifier: GPL-3.0-or-later
#include "filebytes.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The daily backup of the package: the command line of velmora-backup.service, run as systemd
// runs it for an installed copy, must save the data the installed program uses, wherever the
// user's data folder is.
class TestBackupService : public QObject {
    Q_OBJECT

    struct Run {
        int code = -1;
        QByteArray err;
    };

    static Run run(const QString &program, const QStringList &args,
                   const QProcessEnvironment &env) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, args);
        if (!process.waitForFinished(120000))
            qFatal("velmora-tool does not finish");
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardError()};
    }

    // The unit's ExecStart, its specifiers and the install-time path filled in, split into
    // words as systemd splits them (blanks between words, double quotes around one word).
    static QStringList execStart(const QString &bindir, const QString &home) {
        const QString unit = QString::fromUtf8(bytesOf(QStringLiteral(VELMORA_SERVICE)));
        const QString key = QStringLiteral("ExecStart=");
        QString line;
        for (const QString &l : unit.split(u'\n')) {
            if (l.startsWith(key))
                line = l.mid(key.size());
        }
        line.replace(QStringLiteral("@VELMORA_BINDIR@"), bindir);
        line.replace(QStringLiteral("%h"), home);
        QStringList words;
        QString word;
        bool quoted = false;
        bool inWord = false;
        for (const QChar ch : line) {
            if (ch == u'"') {
                quoted = !quoted;
                inWord = true;
            } else if (ch.isSpace() && !quoted) {
                if (inWord)
                    words.append(word);
                word.clear();
                inWord = false;
            } else {
                word.append(ch);
                inWord = true;
            }
        }
        if (inWord)
            words.append(word);
        return words;
    }

    // The files of PROGRAMDIR/Data by their names in small letters (the tables are named as
    // they were created), with their bytes.
    static QMap<QString, QByteArray> dataFiles(const QString &programDir) {
        QMap<QString, QByteArray> files;
        const QDir data(programDir + QStringLiteral("/Data"));
        for (const QString &name : data.entryList(QDir::Files))
            files.insert(name.toLower(), bytesOf(data.filePath(name)));
        return files;
    }

private Q_SLOTS:
    void savesTheInstalledProgramsData_data() {
        QTest::addColumn<QString>("dataHome"); // relative to HOME; empty: XDG_DATA_HOME unset
        QTest::newRow("XDG_DATA_HOME unset") << QString();
        QTest::newRow("XDG_DATA_HOME set") << QStringLiteral("elsewhere/data");
    }

    void savesTheInstalledProgramsData() {
        QFETCH(QString, dataHome);
        QTemporaryDir root;
        const QString home = root.filePath(QStringLiteral("home"));
        const QString bindir = root.filePath(QStringLiteral("usr/bin"));
        QVERIFY(QDir().mkpath(bindir));
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("usr/share/velmora"))));
        const QString tool = bindir + QStringLiteral("/velmora-tool");
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_TOOL), tool));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        env.remove(QStringLiteral("XDG_DATA_HOME"));
        const QString standard = home + QStringLiteral("/.local/share/Velmora v.1.01");
        QString used = standard;
        if (!dataHome.isEmpty()) {
            env.insert(QStringLiteral("XDG_DATA_HOME"), home + u'/' + dataHome);
            used = home + u'/' + dataHome + QStringLiteral("/Velmora v.1.01");
        }
        // Different data in both folders, so that the archive tells which one it saved.
        for (const auto &[folder, sheets] : {std::pair(standard, 2), std::pair(used, 5)}) {
            const Run made =
                run(QStringLiteral(VELMORA_TOOL),
                    {QStringLiteral("generate"), folder, QStringLiteral("--sheets"),
                     QString::number(sheets), QStringLiteral("--lines"), QStringLiteral("2")},
                    env);
            QVERIFY2(made.code == 0, made.err.constData());
        }

        const QStringList command = execStart(bindir, home);
        QVERIFY(command.size() > 1);
        QCOMPARE(command.first(), tool);
        const Run backup = run(command.first(), command.mid(1), env);
        QVERIFY2(backup.code == 0, backup.err.constData());

        const QDir saved(home + QStringLiteral("/Velmora-salvari"));
        const QStringList archives = saved.entryList({QStringLiteral("*.vmr")}, QDir::Files);
        QCOMPARE(archives.size(), 1);
        const QString restored = root.filePath(QStringLiteral("restored"));
        QVERIFY(QDir().mkpath(restored));
        const Run restore =
            run(QStringLiteral(VELMORA_TOOL),
                {QStringLiteral("restore"), restored, saved.filePath(archives.first())}, env);
        QVERIFY2(restore.code == 0, restore.err.constData());
        const QMap<QString, QByteArray> data = dataFiles(used);
        QVERIFY(data.contains(QStringLiteral("foi.dbf")));
        QCOMPARE(dataFiles(restored), data);
    }
};

QTEST_GUILESS_MAIN(TestBackupService)
#include "tst_backupservice.moc"
