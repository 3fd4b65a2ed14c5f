// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/datasnapshot.h"

#include "backup/datafiles.h"
#include "store/dbf/datalock.h"
#include "store/dbf/dbfjournal.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmora {

namespace {

constexpr qint64 kCopyChunk = 61440;

void copyFile(const QString &from, const QString &to) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Fisierul %1 nu poate fi deschis: %2")
                            .arg(QDir::toNativeSeparators(from), Platform::reason(in)));
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

DataSnapshot::DataSnapshot(const QString &programDir)
    : m_dir(QDir::tempPath() + QStringLiteral("/velmora-salvare-XXXXXX")) {
    if (!m_dir.isValid())
        throw FileError(QStringLiteral("Directorul temporar pentru salvare nu poate fi creat: %1")
                            .arg(Platform::reason(m_dir.errorString())));
    const QString dataDir = programDir + QStringLiteral("/Data");
    if (!QFileInfo(dataDir).isDir())
        throw FileError(QStringLiteral("Directorul de date %1 nu exista.")
                            .arg(QDir::toNativeSeparators(dataDir)));
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
        copyAll(programDir);
        break;
    }
}

void DataSnapshot::copyAll(const QString &programDir) {
    const QStringList originals = ArchiveFormat::listFileDir(programDir);
    for (const QString &original : originals) {
        const QString copy = m_dir.filePath(QFileInfo(original).fileName());
        copyFile(original, copy);
        m_files.append(copy);
        m_originals.append(original);
    }
}

int DataSnapshot::save(const QString &programDir, const QString &archivePath,
                       const ArchiveFormat::Progress &progress) {
    const DataSnapshot snapshot(programDir);
    return ArchiveFormat::compressFiles(snapshot.files(), archivePath, progress);
}

} // namespace velmora
