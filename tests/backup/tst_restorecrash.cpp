// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivebytes.h"
#include "backup/datarecovery.h"
#include "backup/datarestore.h"
#include "filebytes.h"
#include "store/dbf/datalock.h"
#include "store/dbf/faultpoint.h"
#include "store/dbf/platform.h"
#include "store/lockholder.h"
#include "store/text/error.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

using Files = QMap<QString, QByteArray>;

const Files kOld = {{u"Foi.dbf"_s, tableLike(5000, 1)},
                    {u"Sosiri.dbf"_s, tableLike(9000, 2)},
                    {u"Velm.ini"_s, "[INDEX]\r\nIDFOAIE=41\r\nIDSOS=90\r\n"},
                    {u"Extra.txt"_s, "only in the old set"}};
const Files kNew = {{u"Foi.dbf"_s, tableLike(7000, 3)},
                    {u"Sosiri.dbf"_s, tableLike(3000, 4)},
                    {u"Velm.ini"_s, "[INDEX]\r\nIDFOAIE=12\r\nIDSOS=30\r\n"},
                    {u"Nou.txt"_s, "only in the archive"}};

QByteArray archiveOf(const Files &files) {
    QByteArray bytes = int32le(qint32(files.size()));
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        bytes += member("Data\\" + it.key().toLatin1(), it.value());
    return bytes;
}

// The files of Data as the program sees them: everything but the lock file.
Files dataSet(const QString &programDir) {
    Files files;
    const QString data = programDir + u"/Data"_s;
    for (const QString &name : QDir(data).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name != DataLock::lockFileName())
            files.insert(name, bytesOf(data + u'/' + name));
    }
    return files;
}

// What lies beside Data: nothing but the archive once all is done.
QStringList besideData(const QString &programDir) {
    QStringList names =
        QDir(programDir)
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    names.removeAll(u"Data"_s);
    names.removeAll(u"copie.vmr"_s);
    return names;
}

bool copyTree(const QString &from, const QString &to) {
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    if (!QDir().mkpath(to))
        return false;
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(path);
        // QFile::copy syncs every copy; hundreds of them would take minutes.
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target))
                return false;
            continue;
        }
        QFile out(target);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytesOf(path)) != it.fileInfo().size())
            return false;
    }
    return true;
}

} // namespace

// A restore killed at any of its steps, and the next start that finds what it left: the data
// directory ends wholly as it was or wholly as the archive has it, nothing is left beside it,
// and the user is told which.
class TestRestoreCrash : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    int m_case = 0;

    QString freshProgram(bool blocked = false) {
        const QString dir = m_tmp.filePath(u"p"_s + QString::number(++m_case));
        if (!QDir().mkpath(dir + u"/Data"_s))
            return {};
        for (auto it = kOld.cbegin(); it != kOld.cend(); ++it)
            putBytes(dir + u"/Data/"_s + it.key(), it.value());
        // A directory where the archive has a file: moving that file in fails.
        if (blocked && !QDir().mkpath(dir + u"/Data/Nou.txt"_s))
            return {};
        putBytes(dir + u"/copie.vmr"_s, archiveOf(kNew));
        return dir;
    }

    static bool runKilled(int step, const std::function<void()> &work) {
        FaultPoint::arm(step);
        bool killed = false;
        try {
            work();
        } catch (const SimulatedKill &) {
            killed = true;
        } catch (const Error &) {
            // A restore that turns back says so with an error: what matters is what is left.
        }
        FaultPoint::disarm();
        return killed;
    }

    // The data set after the recovery, which must be whole and leave nothing beside Data.
    // Where the swap had begun, the recovery killed at each of its own steps and then run
    // again must end the same.
    Files recoverChecked(const QString &killed, QStringList *notes) {
        const QString first = m_tmp.filePath(u"r"_s + QString::number(++m_case));
        if (!copyTree(killed, first))
            return {};
        *notes = DataRecovery::recover(first);
        const Files result = dataSet(first);
        const QStringList left = besideData(first);
        QDir(first).removeRecursively();
        if (!left.isEmpty()) {
            QTest::qFail(qPrintable(u"left beside Data: "_s + left.join(u", ")), __FILE__,
                         __LINE__);
            return {};
        }
        if (!QFile::exists(killed + u"/Data/"_s + DataLock::restoreMarkerName()))
            return result;
        for (int step = 1; step < 200; ++step) {
            const QString dir = m_tmp.filePath(u"r"_s + QString::number(++m_case));
            if (!copyTree(killed, dir))
                return {};
            const bool again = runKilled(step, [&] { DataRecovery::recover(dir); });
            DataRecovery::recover(dir);
            const bool same = dataSet(dir) == result && besideData(dir).isEmpty();
            QDir(dir).removeRecursively();
            if (!same) {
                QTest::qFail(qPrintable(u"a kill at step %1 of the recovery changed its "
                                        u"outcome"_s.arg(step)),
                             __FILE__, __LINE__);
                return {};
            }
            if (!again)
                break;
        }
        return result;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_tmp.isValid());
        // Kills, not power cuts: syncing every step only slows the hundreds of runs.
        Platform::setSyncEnabled(false);
    }

    void killAtEveryStep_data() {
        QTest::addColumn<bool>("blocked");
        QTest::newRow("sound") << false;
        QTest::newRow("a file that cannot be moved in turns it back") << true;
    }

    void killAtEveryStep() {
        QFETCH(bool, blocked);
        bool cameThrough = false;
        bool sawNew = false;
        int kills = 0;
        for (int step = 1; step < 200 && !cameThrough; ++step) {
            const QString dir = freshProgram(blocked);
            QVERIFY(!dir.isEmpty());
            const bool killed =
                runKilled(step, [&] { DataRestore::restore(dir + u"/copie.vmr"_s, dir); });
            if (!killed) {
                cameThrough = true;
                QCOMPARE(dataSet(dir), blocked ? kOld : kNew);
                QCOMPARE(besideData(dir), QStringList());
                QCOMPARE(DataRecovery::recover(dir), QStringList());
                break;
            }
            ++kills;
            const bool journal = QFile::exists(dir + u"/Data/"_s + DataLock::restoreMarkerName());
            const QStringList unpacked = QDir(dir).entryList({u"Data.restaurare-*"_s}, QDir::Dirs);
            const bool unpacking = !unpacked.isEmpty() &&
                                   QDir(dir + u'/' + unpacked[0]).entryList(QDir::Files).size() > 1;
            QStringList notes;
            const Files now = recoverChecked(dir, &notes);
            const QString said = u"step %1: "_s.arg(step) + notes.join(u'\n');
            if (now == kNew) {
                QVERIFY2(!blocked, "a restore that cannot be finished was finished");
                // Killed after the journal was gone, the restore was already whole.
                if (journal)
                    QVERIFY2(said.contains(u"acum a fost dusa la capat"_s), qPrintable(said));
                sawNew = true;
            } else {
                QVERIFY2(now == kOld, qPrintable(u"kill at step %1 left a mixed set: "_s.arg(step) +
                                                 QStringList(now.keys()).join(u", ")));
                // Once the swap has begun it is finished; it is never undone by a later kill.
                QVERIFY2(!sawNew, qPrintable(u"kill at step %1 went back"_s.arg(step)));
                if (journal)
                    QVERIFY2(said.contains(u"adus inapoi"_s), qPrintable(said));
                else if (unpacking)
                    QVERIFY2(said.contains(u"a ramas neschimbat"_s), qPrintable(said));
            }
            // Whatever a restore left, the next one works.
            if (!blocked) {
                DataRestore::restore(dir + u"/copie.vmr"_s, dir);
                QCOMPARE(dataSet(dir), kNew);
            }
            QDir(dir).removeRecursively();
        }
        QVERIFY(cameThrough);
        // Unpacking, setting aside, moving in, clearing away: each file a step of its own.
        QVERIFY2(kills > 2 * int(kNew.size() + kOld.size()), qPrintable(QString::number(kills)));
        if (!blocked)
            QVERIFY(sawNew);
    }

    // Should the archive's files be gone from staging (a folder someone cleared by hand) and
    // an old file be unable to go back, nothing is lost: the error says where everything is,
    // Data stays closed, and the next start, once the obstacle is gone, puts the old set back.
    void aRestoreThatCanGoNeitherWayWaits() {
        const QString dir = freshProgram();
        QString staging;
        for (int step = 1; step < 100 && staging.isEmpty(); ++step) {
            const QString work = m_tmp.filePath(u"n"_s + QString::number(step));
            QVERIFY(copyTree(dir, work));
            runKilled(step, [&] { DataRestore::restore(work + u"/copie.vmr"_s, work); });
            const QStringList folders = QDir(work).entryList({u"Data.restaurare-*"_s}, QDir::Dirs);
            // Killed after the first file of the archive went into Data.
            if (QFile::exists(work + u"/Data/"_s + DataLock::restoreMarkerName()) &&
                QFile::exists(work + u"/Data/Foi.dbf"_s) &&
                bytesOf(work + u"/Data/Foi.dbf"_s) == kNew[u"Foi.dbf"_s] && !folders.isEmpty() &&
                QFile::exists(work + u'/' + folders[0] + u"/Sosiri.dbf"_s)) {
                staging = work + u'/' + folders[0];
                QVERIFY(QFile::remove(staging + u"/Sosiri.dbf"_s));
                QVERIFY(QDir().mkpath(work + u"/Data/Extra.txt"_s));
                try {
                    DataRecovery::recover(work);
                    QFAIL("a restore that could go neither way was said to be done");
                } catch (const FileError &e) {
                    QVERIFY2(e.message().contains(u"Data.vechi-"_s), qPrintable(e.message()));
                    QVERIFY2(e.message().contains(u"Sosiri.dbf"_s), qPrintable(e.message()));
                }
                QVERIFY_THROWS_EXCEPTION(EngineError,
                                         DataLock(work + u"/Data"_s, DataLock::Mode::Shared));
                QVERIFY(QDir(work + u"/Data/Extra.txt"_s).removeRecursively());
                const QStringList notes = DataRecovery::recover(work);
                QCOMPARE(notes.size(), 1);
                QVERIFY2(notes[0].contains(u"adus inapoi"_s), qPrintable(notes[0]));
                QCOMPARE(dataSet(work), kOld);
                QCOMPARE(besideData(work), QStringList());
            }
        }
        QVERIFY(!staging.isEmpty());
    }

    void leftOverFoldersAreClearedAndSaid_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("withFiles");
        QTest::addColumn<bool>("removed");
        QTest::addColumn<QString>("said");
        QTest::newRow("a killed backup's copies")
            << u"Data.salvare-k1LLed"_s << true << true << u"O salvare a fost intrerupta"_s;
        QTest::newRow("an archive unpacked by a killed restore")
            << u"Data.restaurare-Ab12cd"_s << true << true << u"a ramas neschimbat"_s;
        QTest::newRow("an empty staging folder")
            << u"Data.restaurare-Ab12cd"_s << false << true << QString();
        QTest::newRow("an empty folder for old files")
            << u"Data.vechi-Zz9900"_s << false << true << QString();
        // An older version left the old files there when a restore failed: maybe the only
        // copy of them, so it is pointed out, never removed.
        QTest::newRow("old files no journal names")
            << u"Data.vechi-Zz9900"_s << true << false << u"Data.vechi-Zz9900"_s;
        QTest::newRow("a folder of the user's own")
            << u"Data.vechi-de-pastrat"_s << true << false << QString();
    }

    void leftOverFoldersAreClearedAndSaid() {
        QFETCH(QString, folder);
        QFETCH(bool, withFiles);
        QFETCH(bool, removed);
        QFETCH(QString, said);
        const QString dir = freshProgram();
        QVERIFY(QDir(dir).mkdir(folder));
        if (withFiles)
            putBytes(dir + u'/' + folder + u"/Foi.dbf"_s, "a copy");

        const QStringList notes = DataRecovery::recover(dir);

        QCOMPARE(QFileInfo::exists(dir + u'/' + folder), !removed);
        QCOMPARE(dataSet(dir), kOld);
        if (said.isEmpty()) {
            QCOMPARE(notes, QStringList());
        } else {
            QCOMPARE(notes.size(), 1);
            QVERIFY2(notes[0].contains(said), qPrintable(notes[0]));
        }
        // Said once: what was removed is not there to say again.
        if (removed)
            QCOMPARE(DataRecovery::recover(dir), QStringList());
    }

    // The folder of a backup or restore that is still running elsewhere stays.
    void aFolderInUseIsLeftAlone() {
        const QString dir = freshProgram();
        const QString folder = dir + u"/Data.restaurare-L1v3ly"_s;
        QVERIFY(QDir().mkpath(folder));
        putBytes(folder + u"/Foi.dbf"_s, "being unpacked");
        const auto owner = holdLockElsewhere(folder, "exclusive");
        QVERIFY(owner);
        QCOMPARE(DataRecovery::recover(dir), QStringList());
        QCOMPARE(bytesOf(folder + u"/Foi.dbf"_s), QByteArray("being unpacked"));
        releaseLock(*owner);
        QVERIFY(!DataRecovery::recover(dir).isEmpty());
        QVERIFY(!QFileInfo::exists(folder));
    }

    // Every program that would touch Data before the recovery is turned away.
    void dataOfAnInterruptedRestoreIsClosedUntilRecovered() {
        const QString dir = freshProgram();
        int step = 1;
        // The first kill that leaves the journal: the swap has begun.
        for (; step < 100; ++step) {
            const QString work = m_tmp.filePath(u"j"_s + QString::number(step));
            QVERIFY(copyTree(dir, work));
            runKilled(step, [&] { DataRestore::restore(work + u"/copie.vmr"_s, work); });
            if (QFile::exists(work + u"/Data/"_s + DataLock::restoreMarkerName())) {
                QVERIFY_THROWS_EXCEPTION(EngineError,
                                         DataLock(work + u"/Data"_s, DataLock::Mode::Shared));
                QVERIFY(!DataRecovery::recover(work).isEmpty());
                QCOMPARE(dataSet(work), kNew);
                const DataLock open(work + u"/Data"_s, DataLock::Mode::Exclusive);
                return;
            }
        }
        QFAIL("no kill left a journal");
    }
};

QTEST_GUILESS_MAIN(TestRestoreCrash)
#include "tst_restorecrash.moc"
