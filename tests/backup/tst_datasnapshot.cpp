// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivebytes.h"
#include "backup/archiveformat.h"
#include "backup/datasnapshot.h"
#include "filebytes.h"
#include "store/dbf/dbfjournal.h"
#include "store/text/error.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

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

    void missingDataDirectoryIsAnError() {
        QTemporaryDir program;
        QVERIFY_THROWS_EXCEPTION(FileError, DataSnapshot snapshot(program.path()));
    }
};

QTEST_GUILESS_MAIN(TestDataSnapshot)
#include "tst_datasnapshot.moc"
