// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// What of the data directory belongs in a backup: every non-empty file directly inside it,
// except the engine's own temporary, journal and lock files, which describe a moment of one
// process and would mislead the engine after a restore.
class DataFiles {
public:
    static bool isEngineOwn(const QString &fileName);
    // The engine's lock file, which stays where it is through a restore.
    static bool isLock(const QString &fileName);

    // Full paths of the files to archive, ordered by name. An ArchiveError when a file cannot
    // be opened or is too large for the format (2 GiB and more).
    static QStringList list(const QString &dataDir);
};

} // namespace velmora
