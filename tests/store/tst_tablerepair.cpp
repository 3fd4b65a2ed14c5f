// SPDX-License-Identifier: GPL-3.0-or-later
// What the store does about data it did not leave that way: a table cut short, temporary files
// of killed writes, files the user made read-only; and that what it reports done is on disk.

#include "store/counters.h"
#include "store/datastore.h"
#include "store/dbf/atomicfile.h"
#include "store/dbf/faultpoint.h"
#include "store/dbf/platform.h"
#include "store/sql/sqlengine.h"
#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cerrno>

#include "filebytes.h"

using namespace velmora;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(velmora::Platform::DirectoryCall)

namespace {

quint32 headerCount(const QByteArray &bytes) {
    return bytes.size() < 8 ? 0xFFFFFFFF : qFromLittleEndian<quint32>(bytes.constData() + 4);
}

int le16(const QByteArray &bytes, int at) {
    return quint8(bytes[at]) | quint8(bytes[at + 1]) << 8;
}

// What each sync found on disk, in order: the path, and for a table the record count its
// header held at that moment.
struct SyncSeen {
    QString path;
    quint32 count;
};
QList<SyncSeen> g_syncs;
void recordSync(const QString &path) {
    g_syncs.append({path, headerCount(bytesOf(path).left(8))});
}

} // namespace

class TestTableRepair : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DataStore> m_store;

    // The files as created: FOI.DBF and Sosiri.DBF.
    QString foi() const { return SqlEngine::findTable(m_store->sheetsTable()); }

    void insertSheets(int count) {
        for (int i = 1; i <= count; ++i) {
            SqlEngine::run(
                u"INSERT INTO \""_s + foi() +
                u"\" (IDFOAIE, NRMAS, SOFER1) VALUES (%1, \"B%1XYZ\", \"SOFER\")"_s.arg(i));
        }
    }

    qsizetype rows(const QString &table) {
        return SqlEngine::open(u"SELECT * FROM \""_s + table + u'"').rowCount();
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_store = std::make_unique<DataStore>(m_dir->path());
        m_store->ensureDataDir();
        m_store->createTables();
        FaultPoint::disarm();
        Platform::setSyncObserver(nullptr);
    }
    void cleanup() {
        Platform::setSyncObserver(nullptr);
        Platform::failDirectorySync(Platform::DirectoryCall::Open, 0);
        for (const QString &name : QDir(m_store->dataDir()).entryList(QDir::Files))
            QFile::setPermissions(m_store->dataDir() + u'/' + name,
                                  QFile::ReadOwner | QFile::WriteOwner);
    }

    void aTableCutShortIsReadAndRepairedOnce() {
        insertSheets(6);
        const QByteArray whole = bytesOf(foi());
        const int headerLength = le16(whole, 8);
        const int recordLength = le16(whole, 10);
        const QByteArray cut = whole.left(headerLength + 3 * recordLength + 25);
        putBytes(foi(), cut);

        QCOMPARE(rows(foi()), 3);
        // A write would cover the cut-off bytes: refused until the repair, nothing changed.
        const QString table = u'"' + foi() + u'"';
        for (const QString &statement :
             {u"INSERT INTO %1 (IDFOAIE) VALUES (9)"_s, u"UPDATE %1 SET TKM=1"_s,
              u"DELETE FROM %1 WHERE IDFOAIE=1"_s}) {
            try {
                SqlEngine::run(statement.arg(table));
                QFAIL(qPrintable(u"a write to a table cut short was let through: "_s + statement));
            } catch (const EngineError &e) {
                QVERIFY2(e.message().contains(u"incompleta"_s) &&
                             e.message().contains(u"FOI.DBF"_s),
                         qPrintable(e.message()));
            }
        }
        QCOMPARE(bytesOf(foi()), cut);

        const QStringList repairs = m_store->packTables();
        QCOMPARE(repairs.size(), 1);
        QVERIFY2(repairs[0].contains(u"FOI.DBF"_s) && repairs[0].contains(u"6"_s) &&
                     repairs[0].contains(u"3"_s),
                 qPrintable(repairs[0]));
        const QStringList sides =
            QDir(m_store->dataDir()).entryList({u"FOI.DBF.cut-*"_s}, QDir::Files);
        QCOMPARE(sides.size(), 1);
        QVERIFY(repairs[0].contains(sides[0]));
        QCOMPARE(bytesOf(m_store->dataDir() + u'/' + sides[0]),
                 cut.mid(headerLength + 3 * recordLength));

        const QByteArray repaired = bytesOf(foi());
        QCOMPARE(headerCount(repaired), 3u);
        QCOMPARE(repaired.size(), headerLength + 3 * recordLength + 1);
        QCOMPARE(repaired.mid(headerLength, 3 * recordLength),
                 whole.mid(headerLength, 3 * recordLength));
        QVERIFY(m_store->packTables().isEmpty());
        insertSheets(1);
        QCOMPARE(rows(foi()), 4);
    }

    void aTableCutBeforeItsFirstRecordKeepsTheRest() {
        insertSheets(2);
        const QByteArray whole = bytesOf(foi());
        const int headerLength = le16(whole, 8);
        putBytes(foi(), whole.left(headerLength + 10));
        QCOMPARE(rows(foi()), 0);
        const QStringList repairs = m_store->initialize();
        QCOMPARE(repairs.size(), 1);
        QCOMPARE(headerCount(bytesOf(foi())), 0u);
    }

    void leftoversOfKilledWritesGoAtTheNextStart_data() {
        QTest::addColumn<bool>("windows");
        QTest::newRow("velmora-tool init") << false;
        QTest::newRow("start-up window") << true;
    }
    void leftoversOfKilledWritesGoAtTheNextStart() {
        QFETCH(bool, windows);
        insertSheets(3);
        SqlEngine::run(u"DELETE FROM \""_s + foi() + u"\" WHERE IDFOAIE=2"_s);
        // What a pack killed before its rename leaves: the new table, written beside the old.
        putBytes(AtomicFile::temporaryPath(foi()), bytesOf(foi()));
        putBytes(AtomicFile::temporaryPath(m_store->countersFile()), "[INDEX]\r\nIDFO");
        putBytes(m_store->dataDir() + u"/notes.tmp"_s, "the user's own");

        if (windows) {
            // The start-up window's steps: tables, then each table packed.
            m_store->createTables();
            DataStore::packTable(m_store->sheetsTable());
            DataStore::packTable(m_store->linesTable());
        } else {
            m_store->initialize();
        }
        const QStringList files =
            QDir(m_store->dataDir()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        QCOMPARE(files,
                 (QStringList{u".velmora.lock"_s, u"FOI.DBF"_s, u"Sosiri.DBF"_s, u"notes.tmp"_s}));
        QCOMPARE(rows(foi()), 2);
    }

    void readOnlyFilesAreNeverReplaced_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("operation");
        QTest::newRow("counters, next identifier") << u"Velm.ini"_s << u"next"_s;
        QTest::newRow("counters, vehicle memory") << u"Velm.ini"_s << u"iniWrite"_s;
        QTest::newRow("sheets, pack") << u"FOI.DBF"_s << u"pack"_s;
        QTest::newRow("sheets, update") << u"FOI.DBF"_s << u"update"_s;
        QTest::newRow("sheets, insert") << u"FOI.DBF"_s << u"insert"_s;
    }
    void readOnlyFilesAreNeverReplaced() {
        QFETCH(QString, file);
        QFETCH(QString, operation);
        insertSheets(2);
        SqlEngine::run(u"DELETE FROM \""_s + foi() + u"\" WHERE IDFOAIE=1"_s);
        m_store->nextId(Counters::sheets());
        const QString path = m_store->dataDir() + u'/' + file;
        const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        QVERIFY(QFile::setPermissions(path, readOnly));
        const QByteArray before = bytesOf(path);
        try {
            if (operation == u"next")
                m_store->nextId(Counters::sheets());
            else if (operation == u"iniWrite")
                m_store->iniWrite(u"B12ABC"_s, u"CONSUM"_s, u"7.5"_s);
            else if (operation == u"pack")
                m_store->packTables();
            else if (operation == u"update")
                SqlEngine::run(u"UPDATE \""_s + foi() + u"\" SET TKM=5"_s);
            else
                insertSheets(1);
            QFAIL("a read-only file was written");
        } catch (const Error &e) {
            QVERIFY2(e.message().contains(u"numai pentru citire"_s), qPrintable(e.message()));
        }
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(QFile::permissions(path) & 0x7077, readOnly);
    }

    void aReplacedFileKeepsItsPermissions() {
        m_store->nextId(Counters::sheets());
        const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(m_store->countersFile(), mode));
        m_store->nextId(Counters::sheets());
        QCOMPARE(QFile::permissions(m_store->countersFile()) & 0x7077, mode);
    }

    // The record count is an INSERT's commit point: it must have reached the disk by a sync
    // before the statement returns.
    void anInsertSyncsItsCommitPoint() {
        insertSheets(1);
        g_syncs.clear();
        Platform::setSyncObserver(recordSync);
        insertSheets(1);
        Platform::setSyncObserver(nullptr);
        QVERIFY(!g_syncs.isEmpty());
        QCOMPARE(g_syncs.last().path, foi());
        QCOMPARE(g_syncs.last().count, 2u);
    }

    // An UPDATE or DELETE is committed when its journal is gone; the removal must be synced.
    void anUpdateSyncsTheRemovalOfItsJournal_data() {
        QTest::addColumn<QString>("statement");
        QTest::newRow("update") << u"UPDATE \"%1\" SET TKM=7 WHERE IDFOAIE=1"_s;
        QTest::newRow("delete") << u"DELETE FROM \"%1\" WHERE IDFOAIE=1"_s;
    }
    void anUpdateSyncsTheRemovalOfItsJournal() {
        QFETCH(QString, statement);
        insertSheets(2);
        g_syncs.clear();
        Platform::setSyncObserver(recordSync);
        SqlEngine::run(statement.arg(foi()));
        Platform::setSyncObserver(nullptr);
        QVERIFY(!g_syncs.isEmpty());
        QCOMPARE(QDir::cleanPath(g_syncs.last().path), QDir::cleanPath(m_store->dataDir()));
    }

    void packSyncsTheRename() {
        insertSheets(2);
        SqlEngine::run(u"DELETE FROM \""_s + foi() + u"\" WHERE IDFOAIE=1"_s);
        g_syncs.clear();
        Platform::setSyncObserver(recordSync);
        SqlEngine::pack(foi());
        Platform::setSyncObserver(nullptr);
        QCOMPARE(QDir::cleanPath(g_syncs.last().path), QDir::cleanPath(m_store->dataDir()));
    }

    // A directory sync that fails is a write error: the statement is not reported done, and
    // the user reads why. One that the file system does not offer is no error, and no sync is
    // reported either.
    void aFailedDirectorySyncFailsTheWrite_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<Platform::DirectoryCall>("call");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("reason"); // empty: the operation succeeds
#ifndef Q_OS_WIN
        const auto open = Platform::DirectoryCall::Open;
        const auto sync = Platform::DirectoryCall::Sync;
        for (const QString &operation : {u"update"_s, u"delete"_s, u"pack"_s, u"counter"_s}) {
            const QByteArray name = operation.toLatin1();
            QTest::newRow(name + " open EIO")
                << operation << open << EIO << u"eroare de citire sau scriere pe disc"_s;
            QTest::newRow(name + " sync EIO")
                << operation << sync << EIO << u"eroare de citire sau scriere pe disc"_s;
            QTest::newRow(name + " sync EROFS")
                << operation << sync << EROFS << u"discul este protejat la scriere"_s;
            QTest::newRow(name + " sync EINVAL") << operation << sync << EINVAL << QString();
        }
#endif
    }
    void aFailedDirectorySyncFailsTheWrite() {
        QFETCH(QString, operation);
        QFETCH(Platform::DirectoryCall, call);
        QFETCH(int, code);
        QFETCH(QString, reason);
        insertSheets(2);
        if (operation == u"pack"_s)
            SqlEngine::run(u"DELETE FROM \""_s + foi() + u"\" WHERE IDFOAIE=1"_s);
        g_syncs.clear();
        Platform::setSyncObserver(recordSync);
        Platform::failDirectorySync(call, code);
        QString message;
        try {
            if (operation == u"update"_s)
                SqlEngine::run(u"UPDATE \""_s + foi() + u"\" SET TKM=7 WHERE IDFOAIE=1"_s);
            else if (operation == u"delete"_s)
                SqlEngine::run(u"DELETE FROM \""_s + foi() + u"\" WHERE IDFOAIE=2"_s);
            else if (operation == u"pack"_s)
                SqlEngine::pack(foi());
            else
                m_store->nextId(Counters::sheets());
        } catch (const Error &e) {
            message = e.message();
        }
        Platform::failDirectorySync(call, 0);
        Platform::setSyncObserver(nullptr);
        if (reason.isEmpty())
            QVERIFY2(message.isEmpty(), qPrintable(message));
        else
            QVERIFY2(message.contains(reason), qPrintable(message));
        for (const SyncSeen &seen : std::as_const(g_syncs))
            QVERIFY2(QDir::cleanPath(seen.path) != QDir::cleanPath(m_store->dataDir()),
                     "a directory sync that did not happen was reported");
    }

    void systemReasonsAreInRomanian_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("words");
#ifndef Q_OS_WIN
        QTest::newRow("permission denied") << EACCES << u"accesul nu este permis"_s;
        QTest::newRow("no such file") << ENOENT << u"fisierul sau directorul nu exista"_s;
        QTest::newRow("is a directory") << EISDIR << u"este un director"_s;
        QTest::newRow("disk full") << ENOSPC << u"discul este plin"_s;
        QTest::newRow("file exists") << EEXIST << u"exista deja un fisier cu acest nume"_s;
#endif
    }
    void systemReasonsAreInRomanian() {
        QFETCH(int, code);
        QFETCH(QString, words);
        QCOMPARE(Platform::reasonText(code), words);
    }

    void aDataDirectoryThatCannotBeMadeSaysWhy() {
        // The program directory named is a file.
        const QString file = m_dir->filePath(u"program"_s);
        putBytes(file, "not a directory");
        try {
            DataStore(file).ensureDataDir();
            QFAIL("no error raised");
        } catch (const FileError &e) {
            QVERIFY2(e.message().contains(u"nu este un director"_s), qPrintable(e.message()));
        }
    }

    void aFileWhereTheDataDirectoryGoesSaysWhy() {
        QVERIFY(QDir().mkpath(m_dir->filePath(u"program"_s)));
        putBytes(m_dir->filePath(u"program/Data"_s), "not a directory");
        try {
            DataStore(m_dir->filePath(u"program"_s)).ensureDataDir();
            QFAIL("no error raised");
        } catch (const FileError &e) {
            QVERIFY2(e.message().contains(u"exista deja un fisier cu acest nume"_s),
                     qPrintable(e.message()));
        }
    }

    void aFileErrorGivesTheReasonInRomanian() {
        // The file a replacement writes beside the counters file is taken by a directory.
        QVERIFY(QDir().mkpath(AtomicFile::temporaryPath(m_store->countersFile())));
        try {
            m_store->nextId(Counters::sheets());
            QFAIL("no error raised");
        } catch (const CountersError &e) {
            QVERIFY2(e.message().contains(u"este un director"_s), qPrintable(e.message()));
        }
        QVERIFY(QDir(AtomicFile::temporaryPath(m_store->countersFile())).removeRecursively());
    }
};

QTEST_GUILESS_MAIN(TestTableRepair)
#include "tst_tablerepair.moc"
