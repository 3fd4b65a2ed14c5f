// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// What of the data directory belongs in a backup: every non-empty regular file directly
// inside it, except the engine's own temporary, journal and lock files, which describe a
// moment of one process and would mislead the engine after a restore.
class DataFiles {
public:
    struct Listing {
        // Full paths of the files to archive, ordered by name.
        QStringList files;
        // What was left out and why, one sentence per file, naming it: what is not a regular
        // file (a named pipe, which would make the backup wait for ever, a link, a device),
        // and a file whose name the archive cannot hold.
        QStringList skipped;
    };

    static bool isEngineOwn(const QString &fileName);
    // The engine's lock file, which stays where it is through a restore.
    static bool isLock(const QString &fileName);
    // The tables and the counters file: a backup without them would be no backup, so they are
    // never left out; one that cannot be archived fails the backup.
    static bool isProgramOwn(const QString &fileName);

    // An ArchiveError when a file cannot be opened or is too large for the format (2 GiB and
    // more), or when one of the program's own files is not a regular file.
    static Listing list(const QString &dataDir);
};

} // namespace velmora
