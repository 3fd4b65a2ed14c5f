// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "backup/archiveformat.h"
#include "backup/workfolder.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace velmora {

// One moment's picture of the data directory: the files that belong in a backup, copied
// aside all at once, between two statements, so that the tables and the counters file agree
// with one another. Compression then works on the copies, and the program's writes never
// wait for it. The copies go when the object does.
//
// They are made in a work folder beside Data ("Data.salvare-..."), not in the system's
// temporary folder: should the process be killed while compressing, the next backup or start
// finds the folder there, sees that no one holds it, and removes it.
class DataSnapshot {
public:
    explicit DataSnapshot(const QString &programDir);
    ~DataSnapshot();
    DataSnapshot(const DataSnapshot &) = delete;
    DataSnapshot &operator=(const DataSnapshot &) = delete;

    // The copies, under the files' own names, in the order of the listing.
    const QStringList &files() const { return m_files; }
    // The data directory's files they were copied from, in the same order.
    const QStringList &originals() const { return m_originals; }
    // What was left out, one sentence per file naming it (DataFiles::Listing::skipped).
    const QStringList &skipped() const { return m_skipped; }

    // ListFileDir and CompressFiles over a snapshot: the whole data directory into the
    // archive, written beside it and renamed over it once complete. Returns the member count;
    // 0 when Data holds no file to save, and then nothing is written. What was left out goes
    // into skipped when given.
    [[nodiscard]] static int save(const QString &programDir, const QString &archivePath,
                                  const ArchiveFormat::Progress &progress = {},
                                  QStringList *skipped = nullptr);

private:
    void copyAll(const QString &dataDir);

    std::optional<WorkFolder> m_folder;
    QStringList m_files;
    QStringList m_originals;
    QStringList m_skipped;
};

} // namespace velmora
