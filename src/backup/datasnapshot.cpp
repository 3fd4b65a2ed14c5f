// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/datasnapshot.h"

#include "backup/datafiles.h"
#include "backup/datarecovery.h"
#include "store/dbf/datalock.h"
#include "store/dbf/dbfjournal.h"
#include "store/dbf/faultpoint.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmora {

namespace {

constexpr qint64 kCopyChunk = 61440;

void copyFile(const QString &from, const QString &to) {
    FaultPoint::hit();
    QFile in;
    QString reason;
    if (!Platform::openRegularFile(from, in, &reason))
        throw FileError(QStringLiteral("Fisierul %1 nu poate fi deschis: %2")
                            .arg(QDir::toNativeSeparators(from), reason));
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw FileError(QStringLiteral("Copia %1 nu poate fi creata: %2")
                            .arg(QDir::toNativeSeparators(to), Platform::reason(out)));
    QByteArray buffer(kCopyChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), kCopyChunk);
        if (got < 0)
            throw FileError(QStringLiteral("Fisierul %1 nu poate fi citit: %2")
                                .arg(QDir::toNativeSeparators(from), Platform::reason(in)));
        if (got == 0)
            break;
        if (out.write(buffer.constData(), got) != got)
            throw FileError(QStringLiteral("Copia %1 nu poate fi scrisa: %2")
                                .arg(QDir::toNativeSeparators(to), Platform::reason(out)));
    }
}

// The tables whose last change was interrupted: their journal is still there.
QStringList interruptedTables(const QString &dataDir) {
    QStringList tables;
    const QStringList journals =
        QDir(dataDir).entryList({QStringLiteral("*.jnl")}, QDir::Files | QDir::Hidden);
    for (const QString &journal : journals)
        tables.append(dataDir + u'/' + journal.chopped(4));
    return tables;
}

} // namespace

DataSnapshot::DataSnapshot(const QString &programDir) {
    const QString dataDir = programDir + QStringLiteral("/Data");
    if (!QFileInfo(dataDir).isDir())
        throw FileError(QStringLiteral("Directorul de date %1 nu exista.")
                            .arg(QDir::toNativeSeparators(dataDir)));
    // The copies a killed backup left, and whatever a killed restore left, go first.
    DataRecovery::recover(programDir);
    // Everything from the listing to the last copy is one moment of the data directory,
    // between two statements: readers share that moment, so the lock is shared, unless a
    // change was interrupted and its table must first be brought back, which only an
    // exclusive holder may do. Copying takes milliseconds; the compression comes after.
    for (const DataLock::Mode mode : {DataLock::Mode::Shared, DataLock::Mode::Exclusive}) {
        const DataLock lock(dataDir, mode);
        const QStringList interrupted = interruptedTables(dataDir);
        if (!interrupted.isEmpty() && mode == DataLock::Mode::Shared)
            continue;
        for (const QString &table : interrupted)
            DbfJournal::recover(table);
        // Made under the lock, so that no start removes it before it is held.
        m_folder.emplace(WorkFolder::create(programDir, WorkFolder::Kind::Backup));
        try {
            copyAll(dataDir);
        } catch (const Error &) {
            try {
                m_folder->remove();
            } catch (const FileError &) {
                // Left for the next backup or start, which removes what no one holds.
            }
            throw;
        }
        break;
    }
}

DataSnapshot::~DataSnapshot() {
    try {
        if (m_folder)
            m_folder->remove();
    } catch (const FileError &) {
        // Left for the next backup or start, which removes what no one holds.
    }
}

void DataSnapshot::copyAll(const QString &dataDir) {
    const DataFiles::Listing listing = DataFiles::list(dataDir);
    m_skipped = listing.skipped;
    for (const QString &original : listing.files) {
        const QString copy = m_folder->filePath(QFileInfo(original).fileName());
        copyFile(original, copy);
        m_files.append(copy);
        m_originals.append(original);
    }
}

int DataSnapshot::save(const QString &programDir, const QString &archivePath,
                       const ArchiveFormat::Progress &progress, QStringList *skipped) {
    const DataSnapshot snapshot(programDir);
    if (skipped)
        *skipped = snapshot.skipped();
    return ArchiveFormat::compressFiles(snapshot.files(), archivePath, progress);
}

} // namespace velmora
