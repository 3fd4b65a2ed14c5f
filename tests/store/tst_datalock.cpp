// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/counters.h"
#include "store/dbf/datalock.h"
#include "store/sql/sqlengine.h"
#include "store/text/error.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "filebytes.h"
#include "store/lockholder.h"

using namespace velmora;
using namespace Qt::StringLiterals;

// The data lock between processes: a second process holds it, this one asks for it.
class TestDataLock : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_table;

    QString insert(int id) const {
        return u"INSERT INTO \""_s + m_table + u"\" VALUES (%1)"_s.arg(id);
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_table = m_dir.filePath(u"T.dbf"_s);
        SqlEngine::run(u"CREATE TABLE \""_s + m_table + u"\" (ID DECIMAL(6,0))"_s);
        DataLock::setWaitMilliseconds(300);
    }

    void anExclusiveHolderElsewhereKeepsEveryoneOut() {
        const auto holder = holdLockElsewhere(m_dir.path(), "exclusive");
        QVERIFY(holder);
        QVERIFY(DataLock::isHeldElsewhere(m_dir.path()));
        QVERIFY(!DataLock::tryLock(m_dir.path(), DataLock::Mode::Shared));

        const QByteArray before = bytesOf(m_table);
        QElapsedTimer waited;
        waited.start();
        try {
            SqlEngine::run(insert(1));
            QFAIL("the write did not wait for the other program");
        } catch (const EngineError &e) {
            QVERIFY2(e.message().contains(u"folosita de alt program"_s), qPrintable(e.message()));
        }
        QVERIFY(waited.elapsed() >= 250);
        QCOMPARE(bytesOf(m_table), before);
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 SqlEngine::open(u"SELECT * FROM \""_s + m_table + u'"'));
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 Counters(m_dir.filePath(u"Velm.ini"_s)).next(Counters::sheets()));
        QVERIFY(!QFile::exists(m_dir.filePath(u"Velm.ini"_s)));

        releaseLock(*holder);
        QVERIFY(!DataLock::isHeldElsewhere(m_dir.path()));
        QCOMPARE(SqlEngine::run(insert(2)), 1);
    }

    void aSharedHolderElsewhereLetsReadersIn() {
        const auto holder = holdLockElsewhere(m_dir.path(), "shared");
        QVERIFY(holder);
        QVERIFY(DataLock::tryLock(m_dir.path(), DataLock::Mode::Shared));
        SqlEngine::open(u"SELECT * FROM \""_s + m_table + u'"');
        QVERIFY_THROWS_EXCEPTION(EngineError, SqlEngine::run(insert(3)));
        releaseLock(*holder);
    }

    // The system drops the lock of a process that dies, however it dies.
    void aKilledHolderBlocksNobody() {
        const auto holder = holdLockElsewhere(m_dir.path(), "exclusive");
        QVERIFY(holder);
        holder->kill();
        QVERIFY(holder->waitForFinished(5000));
        // Were the lock still held, the write would give up after its short wait.
        QCOMPARE(SqlEngine::run(insert(4)), 1);
    }

    void theLockFileIsTheOnlyFileLocked() {
        const auto holder = holdLockElsewhere(m_dir.path(), "exclusive");
        QVERIFY(holder);
        QVERIFY(QFile::exists(m_dir.filePath(u".velmora.lock"_s)));
        QCOMPARE(DataLock::lockFilePath(m_dir.path()), m_dir.filePath(u".velmora.lock"_s));
        // A copy of the tables (a backup that ignores the lock) still reads them.
        QVERIFY(!bytesOf(m_table).isEmpty());
        releaseLock(*holder);
    }

    void nestedLocksOfOneProcessJoinTheFirst() {
        const DataLock outer(m_dir.path(), DataLock::Mode::Exclusive);
        {
            const DataLock inner(m_dir.path(), DataLock::Mode::Exclusive);
            QCOMPARE(SqlEngine::run(insert(5)), 1);
            SqlEngine::open(u"SELECT * FROM \""_s + m_table + u'"');
        }
        // Still held after the inner ones ended: another process that asks for it gives up,
        // and says so, without ever holding it.
        QProcess holder;
        holder.start(QStringLiteral(VELMORA_LOCKHOLDER), {m_dir.path(), u"shared"_s, u"300"_s});
        QVERIFY(holder.waitForFinished(10000));
        QCOMPARE(holder.exitStatus(), QProcess::NormalExit);
        QCOMPARE(holder.exitCode(), 1);
        QCOMPARE(holder.readAllStandardOutput(), QByteArray());
        QVERIFY(holder.readAllStandardError().contains("folosita de alt program"));
    }

    void aWriteInsideASharedHoldIsRefused() {
        const DataLock reading(m_dir.path(), DataLock::Mode::Shared);
        QVERIFY_THROWS_EXCEPTION(EngineError, SqlEngine::run(insert(6)));
        SqlEngine::open(u"SELECT * FROM \""_s + m_table + u'"');
    }

    // Another program restored the data set while this one worked on the old one: whatever
    // this one would write next (a sheet with an identifier from the old counters, the rest
    // of a generated batch) belongs to the old data, so it is refused; reading goes on.
    void aWriterWhoseDataWasReplacedElsewhereStops() {
        QTemporaryDir dir;
        const QString table = dir.filePath(u"Foi.dbf"_s);
        const QString ini = dir.filePath(u"Velm.ini"_s);
        const auto write = [&] {
            SqlEngine::run(u"INSERT INTO \""_s + table + u"\" VALUES (7)"_s);
        };
        SqlEngine::run(u"CREATE TABLE \""_s + table + u"\" (ID DECIMAL(6,0))"_s);
        QCOMPARE(Counters(ini).next(Counters::sheets()), u"1"_s);
        write();

        const auto restorer = holdLockElsewhere(dir.path(), "restore");
        QVERIFY(restorer);
        releaseLock(*restorer);

        const QByteArray tableBefore = bytesOf(table);
        const QByteArray countersBefore = bytesOf(ini);
        const std::function<void()> writes[] = {
            write, [&] { Counters(ini).next(Counters::sheets()); },
            [&] {
                const DataLock lock(dir.path(), DataLock::Mode::Exclusive);
            }};
        for (const std::function<void()> &attempt : writes) {
            try {
                attempt();
                QFAIL("a write went into the data another program restored");
            } catch (const EngineError &e) {
                QVERIFY2(e.message().contains(u"inlocuita de o restaurare"_s),
                         qPrintable(e.message()));
                QVERIFY2(e.message().contains(u"Porniti din nou programul"_s),
                         qPrintable(e.message()));
            }
        }
        QCOMPARE(bytesOf(table), tableBefore);
        QCOMPARE(bytesOf(ini), countersBefore);
        QCOMPARE(SqlEngine::open(u"SELECT * FROM \""_s + table + u'"').rowCount(), 1);

        // A restore of its own: from then on this process works on that data set.
        {
            DataLock restoring(dir.path(), DataLock::Mode::Restore);
            restoring.renewDataSet();
        }
        write();
        QCOMPARE(SqlEngine::open(u"SELECT * FROM \""_s + table + u'"').rowCount(), 2);
    }

    // A restore killed half-way left its marker: only the one who finishes it may go in.
    void anInterruptedRestoreKeepsEveryoneElseOut() {
        QTemporaryDir dir;
        const QString table = dir.filePath(u"Foi.dbf"_s);
        SqlEngine::run(u"CREATE TABLE \""_s + table + u"\" (ID DECIMAL(6,0))"_s);
        putBytes(dir.filePath(DataLock::restoreMarkerName()), "marker");
        for (const DataLock::Mode mode : {DataLock::Mode::Shared, DataLock::Mode::Exclusive}) {
            try {
                const DataLock lock(dir.path(), mode);
                QFAIL("the data of an interrupted restore was opened");
            } catch (const EngineError &e) {
                QVERIFY2(e.message().contains(u"a fost intrerupta"_s), qPrintable(e.message()));
            }
        }
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 SqlEngine::open(u"SELECT * FROM \""_s + table + u'"'));
        const DataLock finishing(dir.path(), DataLock::Mode::Restore);
        QVERIFY(QFile::remove(dir.filePath(DataLock::restoreMarkerName())));
    }

    void aMissingDirectoryNeedsNoLock() {
        const QString missing = m_dir.filePath(u"none"_s);
        const DataLock lock(missing, DataLock::Mode::Exclusive);
        QVERIFY(!QFileInfo::exists(missing));
    }
};

QTEST_GUILESS_MAIN(TestDataLock)
#include "tst_datalock.moc"
