// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/datafiles.h"

#include "store/dbf/atomicfile.h"
#include "store/dbf/datalock.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <limits>

namespace velmora {

bool DataFiles::isEngineOwn(const QString &fileName) {
    // ".tmp" is what replacements were written beside as before they had a name of their own.
    return AtomicFile::isTemporary(fileName) || isLock(fileName) ||
           fileName.endsWith(QStringLiteral(".jnl"), Qt::CaseInsensitive) ||
           fileName.endsWith(QStringLiteral(".tmp"), Qt::CaseInsensitive);
}

bool DataFiles::isLock(const QString &fileName) {
    return fileName.compare(DataLock::lockFileName(), Qt::CaseInsensitive) == 0;
}

QStringList DataFiles::list(const QString &dataDir) {
    const QDir dir(dataDir);
    if (!dir.exists())
        throw FileError(QStringLiteral("Directorul de date %1 nu exista.")
                            .arg(QDir::toNativeSeparators(dataDir)));
    QStringList files;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (isEngineOwn(entry.fileName()))
            continue;
        QFile file(entry.absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly))
            throw FileError(
                QStringLiteral("Fisierul %1 nu poate fi deschis: %2")
                    .arg(QDir::toNativeSeparators(file.fileName()), Platform::reason(file)));
        const qint64 size = file.size();
        if (size > std::numeric_limits<qint32>::max())
            throw ArchiveError(QStringLiteral("Fisierul %1 este prea mare pentru arhiva (peste "
                                              "2 GB).")
                                   .arg(QDir::toNativeSeparators(file.fileName())));
        if (size > 0)
            files.append(file.fileName());
    }
    return files;
}

} // namespace velmora
