// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace velmora {

// The marker of a restore under way: a small text file in Data, written whole and synced
// before the first file moves and removed only after the last, that names the archive, the
// folder holding the archive's files (staging), the folder Data's old files go to (aside),
// the archive's files, and the way to go should the restore stop half-way: forward, to the
// archive's files, once they are all unpacked and checked; back, to the old ones, once a
// move has failed. Whoever finds it (the next start of the program or of the tool) goes on
// that way before anything else touches Data.
//
// The phase says what Data may hold, so that no file is ever taken for another of the same
// name: while setting aside, only old files (the rest are aside already); while bringing in,
// only the archive's (the rest still wait in staging).
class RestoreJournal {
public:
    enum class Direction { Forward, Back };
    enum class Phase { SettingAside, BringingIn };

    Direction direction = Direction::Forward;
    Phase phase = Phase::SettingAside;
    QString archive; // as the user named it; only for telling what happened
    QString staging; // folder names beside Data
    QString aside;
    QStringList members; // file names inside Data
    QString reason;      // why it turned back

    static QString path(const QString &dataDir);
    static bool exists(const QString &dataDir);
    // Empty when there is none; a FileError when it cannot be read or names anything but
    // files in Data and work folders beside it (it was not written by a restore).
    static std::optional<RestoreJournal> read(const QString &dataDir);
    // Replaces the marker as a whole and syncs it, with Data's entry for it.
    void write(const QString &dataDir) const;
    static void remove(const QString &dataDir);
};

} // namespace velmora
