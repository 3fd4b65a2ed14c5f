// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>

class QFile;
class QFileDevice;
class QIODevice;

namespace velmora {

// The few file-system calls Qt does not offer portably.
class Platform {
public:
    // Renames from over to, replacing an existing file in one step. False with a message on
    // failure.
    [[nodiscard]] static bool replaceFile(const QString &from, const QString &to, QString *error);
    // Pushes the file's written data to the disk; with syncing switched off, only hands it to
    // the system, which keeps every process's view in order but not a power cut's.
    [[nodiscard]] static bool syncFile(QFileDevice &file);
    // A write to a pipe whose reader has gone fails with an error the writer can report,
    // instead of ending the process silently by a signal. A no-op where the system has no
    // such signal.
    static void reportBrokenPipes();
    // Lets another process bring its window to the front: Windows grants that only to the
    // process the user is working in, which a copy just started by the user is.
    static void allowForegroundSwitch();
    // On by default. Bulk work (generating test data) may switch it off for its duration.
    static void setSyncEnabled(bool on);
    static bool syncEnabled();
    // Pushes a directory's entries (a created, renamed or removed name) to the disk. False
    // with the reason when the directory cannot be opened or its sync fails: the names may
    // not be on the disk, which is a write error like any other. A file system that cannot
    // sync a directory at all (EINVAL: some network and FUSE ones) is no error; there the
    // names are as safe as that file system makes them. A read-only file system (EROFS) is
    // an error: it can only appear here when the file system was switched to read-only after
    // the write, which is what the kernel does after a failed write-back.
    [[nodiscard]] static bool syncDirectory(const QString &path, QString *error);
    // Tests watch what reaches the disk: called after every sync that was done, with the
    // path of the file or directory; not for a sync that failed or was not possible. Null to
    // stop.
    using SyncObserver = void (*)(const QString &path);
    static void setSyncObserver(SyncObserver observer);
    // Tests make the directory syncs fail: from now on the given call of syncDirectory fails
    // with the given system error, as the system would have it fail. 0 stops.
    enum class DirectoryCall { Open, Sync };
    static void failDirectorySync(DirectoryCall call, int systemError);
    // A hint that a freshly allocated buffer of many megabytes is about to be filled at once
    // (a whole table read into memory): on Linux it asks for huge pages, which saves a page
    // fault per 4 KB. A no-op elsewhere.
    static void adviseLargeBuffer(char *data, qint64 size);

    // An existing file that the user made read-only: no write permission for anyone (even the
    // administrator, whom the system would let write), or none for this user.
    static bool isReadOnly(const QString &path);
    // The same for a file already open for writing, which only the administrator gets that
    // far with: no write permission for anyone.
    static bool isReadOnly(const QFileDevice &file);

    // An open lock file, or kNoLock.
    using LockHandle = qintptr;
    static constexpr LockHandle kNoLock = -1;
    // Opens (creating when missing) a file that only serves to be locked; kNoLock with the
    // reason when impossible.
    [[nodiscard]] static LockHandle openLockFile(const QString &path, QString *error);
    // Takes the system's lock on the whole file without waiting: shared or exclusive. The
    // system drops it when the handle closes or the process ends, however it ends.
    [[nodiscard]] static bool tryLockFile(LockHandle handle, bool exclusive);
    static void closeLockFile(LockHandle handle);

    // What a directory entry is, the entry itself and not what a link points to.
    enum class FileKind { Missing, Regular, Directory, SymLink, Other };
    static FileKind kindOf(const QString &path);

    // One entry of a directory as the system names it. Qt's own listings leave out a name that
    // is not text in the system's encoding (bytes that are not UTF-8 on Linux); this one keeps
    // it, so that it can at least be named to the user.
    struct DirEntry {
        QString name;        // for showing; holds U+FFFD where the bytes are not text
        bool textual = true; // false when name cannot lead back to the file
        FileKind kind = FileKind::Other;
    };
    // Every entry but "." and "..", in the order the system gives them. When the directory
    // cannot be read, error gets the reason (and stays empty otherwise).
    static QList<DirEntry> listDirectory(const QString &dir, QString *error);

    // Opens a regular file for reading and nothing else: a named pipe, a device or a link is
    // refused without waiting for a writer at the other end. False with the reason otherwise.
    [[nodiscard]] static bool openRegularFile(const QString &path, QFile &file, QString *error);

    // The data set's identity kept in an open lock file, which only its holder reads or
    // writes: up to the first kIdentitySize bytes (empty when the file holds none), and a new
    // one written over them and synced.
    static constexpr int kIdentitySize = 32;
    static QByteArray readIdentity(LockHandle handle);
    [[nodiscard]] static bool writeIdentity(LockHandle handle, QByteArrayView identity,
                                            QString *error);

    // The system's reason for a failure, in Romanian, for the common cases (no such file,
    // permission denied, is a directory, disk full, ...); empty for the others.
    static QString reasonText(int systemError);
    // The one way a reason given by Qt reaches the user: every message that quotes a Qt
    // object's errorString() (QFile, QSaveFile, QTemporaryDir, QProcess) passes it through
    // here. The Romanian reason when the text is the system's own text for one of the common
    // errors (alone, or after the failed call's name and ": ", as QProcess gives it) or Qt's
    // own words for such a case (a directory where a file should be); otherwise the text as
    // it is.
    static QString reason(const QString &qtText);
    // Why the device's last operation failed (a file's, a process's start), the same way.
    static QString reason(const QIODevice &device);
    // The same for a failed call of the system made directly.
    static QString lastReason();
};

} // namespace velmora
