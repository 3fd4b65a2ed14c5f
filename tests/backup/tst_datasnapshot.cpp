// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivebytes.h"
#include "backup/archiveformat.h"
#include "backup/datasnapshot.h"
#include "filebytes.h"
#include "store/dbf/dbfjournal.h"
#include "store/lockholder.h"
#include "store/text/error.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmora;
using namespace Qt::StringLiterals;

// A save is one moment's picture of the data directory, without the engine's own files.
class TestDataSnapshot : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A change whose writer died half-way is rolled back before the copy, so the archive
    // holds the table as it was before that statement, never half of it.
    void interruptedChangeIsRolledBackFirst() {
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath(u"Data"_s));
        const QString table = program.filePath(u"Data/Foi.dbf"_s);
        const QByteArray before = tableLike(9000, 4);
        putBytes(table, before);

        DbfJournal journal(table);
        journal.add(100, before.mid(100, 50));
        journal.write(before.size());
        QByteArray half = before;
        half.replace(100, 50, QByteArray(50, 'X'));
        half.append("a record appended");
        putBytes(table, half);

        const QString archive = program.filePath(u"a.vmr"_s);
        QCOMPARE(DataSnapshot::save(program.path(), archive), 1);

        QTemporaryDir restored;
        const QList<ArchiveFormat::Member> members =
            ArchiveFormat::decompressFiles(archive, restored.path());
        QCOMPARE(members, (QList<ArchiveFormat::Member>{{u"Foi.dbf"_s, before.size()}}));
        QCOMPARE(bytesOf(restored.filePath(u"Foi.dbf"_s)), before);
        // And the data directory itself is whole again.
        QCOMPARE(bytesOf(table), before);
        QVERIFY(!QFile::exists(DbfJournal::pathFor(table)));
    }

    void copiesAreGoneWithTheSnapshot() {
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath(u"Data"_s));
        putBytes(program.filePath(u"Data/Velm.ini"_s), "[IDFOAIE]\r\nIDFOAIE=2\r\n");
        QString copy;
        {
            const DataSnapshot snapshot(program.path());
            QCOMPARE(snapshot.originals(), QStringList{program.filePath(u"Data/Velm.ini"_s)});
            copy = snapshot.files().value(0);
            QCOMPARE(bytesOf(copy), QByteArray("[IDFOAIE]\r\nIDFOAIE=2\r\n"));
            // Beside Data, where a start finds it should the backup be killed.
            QVERIFY2(copy.startsWith(program.filePath(u"Data.salvare-"_s)), qPrintable(copy));
        }
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{u"Data"_s});
    }

    // What is not a regular file, or has a name the archive cannot hold, is left out and
    // named; everything else is saved, and the count is that of the members written.
    void whatCannotBeArchivedIsLeftOutAndSaid_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QString>("why");
        QTest::newRow("a named pipe")
            << QByteArray("coada") << QByteArray("fifo") << u"nu este un fisier obisnuit"_s;
        QTest::newRow("a link") << QByteArray("legat.txt") << QByteArray("link") << u"legatura"_s;
        QTest::newRow("an emoji") << QByteArray("nota\xF0\x9F\x98\x80.txt") << QByteArray("file")
                                  << u"nu poate fi scris in arhiva"_s;
        QTest::newRow("a backslash")
            << QByteArray("a\\b.txt") << QByteArray("file") << u"nu poate fi pastrat"_s;
        QTest::newRow("bytes that are not text")
            << QByteArray("nota\xFF.txt") << QByteArray("file") << u"nu este un text"_s;
    }

    void whatCannotBeArchivedIsLeftOutAndSaid() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, kind);
        QFETCH(QString, why);
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath(u"Data"_s));
        putBytes(program.filePath(u"Data/Foi.dbf"_s), tableLike(3000, 1));
        putBytes(program.filePath(u"Data/Velm.ini"_s), "[INDEX]\r\nIDFOAIE=5\r\n");
        putBytes(program.filePath(u"elsewhere.txt"_s), "outside Data");
        const QByteArray path = QFile::encodeName(program.filePath(u"Data/"_s)) + name;
        if (kind == "fifo") {
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        } else if (kind == "link") {
            QCOMPARE(::symlink(QFile::encodeName(program.filePath(u"elsewhere.txt"_s)).constData(),
                               path.constData()),
                     0);
        } else {
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT, 0600);
            QVERIFY(fd >= 0);
            QCOMPARE(::write(fd, "x", 1), 1);
            ::close(fd);
        }

        QStringList skipped;
        const QString archive = program.filePath(u"a.vmr"_s);
        QCOMPARE(DataSnapshot::save(program.path(), archive, {}, &skipped), 2);

        QCOMPARE(skipped.size(), 1);
        QVERIFY2(skipped[0].contains(why), qPrintable(skipped[0]));
        // Named as the user finds it in the folder.
        QVERIFY2(skipped[0].contains(QFile::decodeName(name)), qPrintable(skipped[0]));
        const QList<ArchiveFormat::Member> members = ArchiveFormat::verify(archive);
        // Qt cannot see a name that is not text, so it cannot remove it either.
        QCOMPARE(::unlink(path.constData()), 0);
        QCOMPARE(members,
                 (QList<ArchiveFormat::Member>{{u"Foi.dbf"_s, 3000}, {u"Velm.ini"_s, 20}}));
    }

    // A backup without the tables would be no backup: one that is not a regular file fails
    // the backup instead of being left out.
    void theProgramsOwnFilesAreNeverLeftOut() {
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath(u"Data"_s));
        putBytes(program.filePath(u"Data/Velm.ini"_s), "[INDEX]\r\nIDFOAIE=5\r\n");
        QCOMPARE(::mkfifo(QFile::encodeName(program.filePath(u"Data/Foi.dbf"_s)).constData(), 0600),
                 0);
        const QString archive = program.filePath(u"a.vmr"_s);
        try {
            const int members = DataSnapshot::save(program.path(), archive);
            QFAIL(qPrintable(
                u"a backup without its sheets table was written (%1 files)"_s.arg(members)));
        } catch (const ArchiveError &e) {
            QVERIFY2(e.message().contains(u"Foi.dbf"_s), qPrintable(e.message()));
        }
        QVERIFY(!QFile::exists(archive));
    }

    // The copies a killed backup left beside Data go with the next backup; those of a backup
    // still running elsewhere stay.
    void theNextBackupRemovesWhatAKilledOneLeft() {
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath(u"Data"_s));
        putBytes(program.filePath(u"Data/Velm.ini"_s), "[INDEX]\r\nIDFOAIE=5\r\n");
        const QString killed = program.filePath(u"Data.salvare-k1LLed"_s);
        const QString running = program.filePath(u"Data.salvare-Runn1n"_s);
        for (const QString &folder : {killed, running}) {
            QVERIFY(QDir().mkpath(folder));
            putBytes(folder + u"/Velm.ini"_s, "a copy");
        }
        const auto owner = holdLockElsewhere(running, "exclusive");
        QVERIFY(owner);

        QCOMPARE(DataSnapshot::save(program.path(), program.filePath(u"a.vmr"_s)), 1);

        QVERIFY(!QFileInfo::exists(killed));
        QCOMPARE(bytesOf(running + u"/Velm.ini"_s), QByteArray("a copy"));
        releaseLock(*owner);
    }

    void missingDataDirectoryIsAnError() {
        QTemporaryDir program;
        QVERIFY_THROWS_EXCEPTION(FileError, DataSnapshot snapshot(program.path()));
    }
};

QTEST_GUILESS_MAIN(TestDataSnapshot)
#include "tst_datasnapshot.moc"
