// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/datafiles.h"

#include "backup/membername.h"
#include "store/dbf/atomicfile.h"
#include "store/dbf/datalock.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>

namespace velmora {

namespace {

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

QString leftOut(const QString &path, const QString &why) {
    return QStringLiteral("Fisierul %1 nu a fost salvat: %2.").arg(shown(path), why);
}

QString kindText(Platform::FileKind kind) {
    return kind == Platform::FileKind::SymLink
               ? QStringLiteral("este o legatura catre alt fisier")
               : QStringLiteral("nu este un fisier obisnuit (de exemplu o conducta cu nume)");
}

} // namespace

bool DataFiles::isEngineOwn(const QString &fileName) {
    // ".tmp" is what replacements were written beside as before they had a name of their own.
    return AtomicFile::isTemporary(fileName) || isLock(fileName) ||
           fileName.compare(DataLock::restoreMarkerName(), Qt::CaseInsensitive) == 0 ||
           fileName.endsWith(QStringLiteral(".jnl"), Qt::CaseInsensitive) ||
           fileName.endsWith(QStringLiteral(".tmp"), Qt::CaseInsensitive);
}

bool DataFiles::isLock(const QString &fileName) {
    return fileName.compare(DataLock::lockFileName(), Qt::CaseInsensitive) == 0;
}

bool DataFiles::isProgramOwn(const QString &fileName) {
    for (const char *own : {"Foi.dbf", "Sosiri.dbf", "Velm.ini"}) {
        if (fileName.compare(QLatin1String(own), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

DataFiles::Listing DataFiles::list(const QString &dataDir) {
    if (!QFileInfo(dataDir).isDir())
        throw FileError(QStringLiteral("Directorul de date %1 nu exista.").arg(shown(dataDir)));
    QString error;
    QList<Platform::DirEntry> entries = Platform::listDirectory(dataDir, &error);
    if (!error.isEmpty())
        throw FileError(QStringLiteral("Directorul de date %1 nu poate fi citit: %2")
                            .arg(shown(dataDir), error));
    std::sort(
        entries.begin(), entries.end(),
        [](const Platform::DirEntry &a, const Platform::DirEntry &b) { return a.name < b.name; });

    Listing listing;
    for (const Platform::DirEntry &entry : entries) {
        const QString path = dataDir + u'/' + entry.name;
        // Subdirectories were never part of a backup.
        if (entry.kind == Platform::FileKind::Directory || isEngineOwn(entry.name))
            continue;
        if (!entry.textual) {
            listing.skipped.append(leftOut(path, QStringLiteral("numele lui nu este un text "
                                                                "valid")));
            continue;
        }
        if (entry.kind != Platform::FileKind::Regular) {
            if (isProgramOwn(entry.name))
                throw ArchiveError(QStringLiteral("Fisierul %1 %2; salvarea nu a fost facuta.")
                                       .arg(shown(path), kindText(entry.kind)));
            if (entry.kind != Platform::FileKind::Missing)
                listing.skipped.append(leftOut(path, kindText(entry.kind)));
            continue;
        }
        if (const QString refusal = MemberName::refusal(entry.name); !refusal.isEmpty()) {
            listing.skipped.append(leftOut(path, refusal));
            continue;
        }
        // Opened as a regular file only: a pipe put in its place meanwhile would hold the
        // backup, and with it the lock, for ever.
        QFile file;
        QString reason;
        if (!Platform::openRegularFile(path, file, &reason)) {
            const Platform::FileKind now = Platform::kindOf(path);
            if (now != Platform::FileKind::Regular && now != Platform::FileKind::Missing &&
                !isProgramOwn(entry.name)) {
                listing.skipped.append(leftOut(path, kindText(now)));
                continue;
            }
            throw FileError(
                QStringLiteral("Fisierul %1 nu poate fi deschis: %2").arg(shown(path), reason));
        }
        const qint64 size = file.size();
        if (size > std::numeric_limits<qint32>::max())
            throw ArchiveError(QStringLiteral("Fisierul %1 este prea mare pentru arhiva (peste "
                                              "2 GB).")
                                   .arg(shown(path)));
        if (size > 0)
            listing.files.append(path);
    }
    return listing;
}

} // namespace velmora
