// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/dbf/platform.h"

#include <QList>
#include <QString>

namespace velmora {

// A folder beside Data in which a backup or a restore does its work: the backup's copies of
// the data ("Data.salvare-..."), a restore's unpacked archive ("Data.restaurare-...") and the
// files it sets aside ("Data.vechi-..."). Beside Data, on the same disk, so that a restore's
// moves are renames, and where the next start finds what a killed process left.
//
// While its owner lives, the folder's own lock file is held; a folder whose lock is free
// belongs to no one. Folders are made only while Data's lock is held (shared is enough) and
// cleared away only while it is held exclusive, so no one takes a folder for abandoned in the
// instant between its making and its locking.
class WorkFolder {
public:
    enum class Kind { Backup, Staging, Aside };

    // Makes and locks a new folder; a FileError when impossible.
    static WorkFolder create(const QString &programDir, Kind kind);
    // An existing folder, by its name beside Data, taken over without its lock (its owner is
    // gone: a restore being finished by the next start).
    static WorkFolder adopt(const QString &programDir, const QString &name);

    WorkFolder(WorkFolder &&other) noexcept;
    WorkFolder &operator=(WorkFolder &&other) noexcept;
    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;
    // Lets the lock go and leaves the folder: removing it is always a deliberate step, never
    // the side effect of an error or a kill half-way.
    ~WorkFolder();

    const QString &path() const { return m_path; }
    QString name() const;
    QString filePath(const QString &fileName) const { return m_path + u'/' + fileName; }

    // Lets the lock go and removes the folder with everything in it. A FileError when some of
    // it stays.
    void remove();

    // Whether a name beside Data is one of these folders, and of which kind.
    static bool isWorkFolder(const QString &name, Kind *kind = nullptr);

    struct Stale {
        QString path;
        Kind kind;
        bool hadFiles; // anything beside the lock file
    };
    // The folders beside Data that no living process holds, except those named in keep.
    static QList<Stale> findStale(const QString &programDir, const QStringList &keep = {});

private:
    WorkFolder(QString path, Platform::LockHandle lock);
    void release();

    QString m_path;
    Platform::LockHandle m_lock = Platform::kNoLock;
};

} // namespace velmora
