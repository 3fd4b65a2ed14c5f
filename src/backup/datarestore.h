// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "backup/archiveformat.h"

#include <QList>
#include <QString>

namespace velmora {

// Brings the data directory back to an archive's content without ever leaving it half
// restored: the whole archive is first unpacked and checked in a staging folder beside Data;
// only then, under Data's lock, are Data's files set aside and the archive's moved in, through
// a journal (RestoreJournal) that lets the next start finish the swap, or undo it, should the
// process die half-way. Should a move fail, everything goes back as it was. Subdirectories of
// Data stay untouched. The data set gets a new identity, so that another program that was
// writing into the old files stops instead of going on in the new ones.
class DataRestore {
public:
    // GolesteDir and DecompressFiles done safely. An ArchiveError (damaged archive) or a
    // FileError (a file that cannot be replaced) leaves Data exactly as it was.
    static QList<ArchiveFormat::Member> restore(const QString &archivePath,
                                                const QString &programDir,
                                                const ArchiveFormat::Progress &progress = {});
};

} // namespace velmora
