// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "backup/archiveformat.h"

#include <QList>
#include <QString>

namespace velmora {

// Brings the data directory back to an archive's content without ever leaving it half
// restored: the whole archive is first unpacked and checked in a staging directory beside
// Data; only then are Data's files set aside and the archive's moved in, and should any move
// fail, everything goes back as it was. Subdirectories of Data stay untouched.
class DataRestore {
public:
    // GolesteDir and DecompressFiles done safely. An ArchiveError (damaged archive) or a
    // FileError (a file that cannot be replaced) leaves Data exactly as it was.
    static QList<ArchiveFormat::Member> restore(const QString &archivePath,
                                                const QString &programDir,
                                                const ArchiveFormat::Progress &progress = {});

private:
    static void swapIn(const QString &programDir, const QString &stagingDir,
                       const QList<ArchiveFormat::Member> &members);
};

} // namespace velmora
