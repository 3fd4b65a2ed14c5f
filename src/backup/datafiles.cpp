#include "backup/datafiles.h"

#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <limits>

namespace velmora {

bool DataFiles::isEngineOwn(const QString &fileName) {
    static const QStringList suffixes = {QStringLiteral(".tmp"), QStringLiteral("-tmp"),
                                         QStringLiteral(".jnl"), QStringLiteral(".lock"),
                                         QStringLiteral(".lck")};
    for (const QString &suffix : suffixes) {
        if (fileName.endsWith(suffix, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool DataFiles::isLock(const QString &fileName) {
    return fileName.endsWith(QStringLiteral(".lock"), Qt::CaseInsensitive) ||
           fileName.endsWith(QStringLiteral(".lck"), Qt::CaseInsensitive);
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
                    .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
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
