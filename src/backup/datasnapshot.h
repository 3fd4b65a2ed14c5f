// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "backup/archiveformat.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace velmora {

// One moment's picture of the data directory: the files that belong in a backup, copied
// aside all at once, between two statements, so that the tables and the counters file agree
// with one another. Compression then works on the copies, and the program's writes never
// wait for it. The copies go when the object does.
class DataSnapshot {
public:
    explicit DataSnapshot(const QString &programDir);

    // The copies, under the files' own names, in the order of the listing.
    const QStringList &files() const { return m_files; }
    // The data directory's files they were copied from, in the same order.
    const QStringList &originals() const { return m_originals; }

    // ListFileDir and CompressFiles over a snapshot: the whole data directory into the
    // archive, written beside it and renamed over it once complete. Returns the member count;
    // 0 when Data holds no file to save, and then nothing is written.
    static int save(const QString &programDir, const QString &archivePath,
                    const ArchiveFormat::Progress &progress = {});

private:
    void copyAll(const QString &programDir);

    QTemporaryDir m_dir;
    QStringList m_files;
    QStringList m_originals;
};

} // namespace velmora
