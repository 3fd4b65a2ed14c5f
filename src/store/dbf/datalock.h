// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/dbf/platform.h"

#include <QString>
#include <memory>

namespace velmora {

// The lock that lets several processes use one data directory (the program, a scheduled
// velmora-tool, a backup): an operating-system lock on the file ".velmora.lock" in the data
// directory (never on a table file), which the system drops when its process ends, however it
// ends, so a killed program never blocks the next one.
//
// Writers hold it exclusive, readers shared, each for the length of one statement (or of one
// operation that must see or leave the directory consistent: a read-increment-write of the
// counters file, a start-up's repairs and packs, a backup's copy, a restore). A lock that
// another process holds is waited for a few seconds (waitMilliseconds()); then the
// constructor gives up with an EngineError saying that another program uses the database.
//
// Within one process the lock is re-entrant: while one DataLock holds a directory, further
// DataLocks over it (on any thread) join it instead of waiting for themselves; the directory
// is released when the last of them ends. An exclusive hold covers nested shared requests; a
// nested exclusive request inside a shared hold is refused with an EngineError, since the
// system cannot turn a shared lock into an exclusive one without letting go of it first.
//
// A restore replaces the data set under the lock's third mode, Restore: exclusive, taken while
// a restore's marker (restoreMarkerName()) may lie in the directory. Every other holder finds
// the marker there only when a restore died half-way, and is refused until the restore has
// been finished or undone, which the program's and the tool's start do.
//
// A restore also gives the data set a new identity, kept in the lock file itself. A process
// remembers the identity it first found; a writer that finds another one, because a restore
// made by another program replaced the data under it, is refused instead of writing its
// remaining work, whose identifiers came from the old counters, into the new data. Readers
// just read what is there. A lock file without identity (never restored, or made anew) tells
// nothing and refuses no one.
//
// A directory that does not exist needs no lock (there is nothing in it to protect). Where
// the lock file cannot be created (a read-only medium), a shared lock is granted without it,
// while an exclusive one raises a FileError.
class DataLock {
public:
    enum class Mode { Shared, Exclusive, Restore };

    // Blocks until the lock is held or the wait is over.
    DataLock(const QString &dataDir, Mode mode);
    ~DataLock();
    DataLock(const DataLock &) = delete;
    DataLock &operator=(const DataLock &) = delete;

    // Takes the lock without waiting; null when another process holds it in a way that
    // conflicts with the mode.
    static std::unique_ptr<DataLock> tryLock(const QString &dataDir, Mode mode);
    // Whether another process holds the lock right now (shared or exclusive). Meaningful only
    // while this process does not hold it itself.
    static bool isHeldElsewhere(const QString &dataDir);

    // Gives the data set a new identity; only under a Restore hold, just before the restore
    // changes the first file. This process goes on with the new identity. A FileError when
    // the lock file cannot be written.
    void renewDataSet();

    // The marker an unfinished restore leaves in the data directory.
    static QString restoreMarkerName() { return QStringLiteral(".velmora.restaurare"); }

    // The lock file of a data directory; backups leave it out.
    static QString lockFilePath(const QString &dataDir);
    static QString lockFileName() { return QStringLiteral(".velmora.lock"); }
    // The directory whose lock guards a table file.
    static QString directoryOf(const QString &tablePath);

    // How long a lock held elsewhere is waited for; tests shorten it.
    static int waitMilliseconds();
    static void setWaitMilliseconds(int ms);

private:
    DataLock(const QString &dataDir, Mode mode, int waitMs);

    QString m_key;
};

} // namespace velmora
