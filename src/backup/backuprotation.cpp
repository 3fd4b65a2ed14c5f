// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/backuprotation.h"

#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace velmora {

namespace {

void checkKeep(int keep) {
    if (keep < 1)
        throw Error(QStringLiteral("Numarul de arhive pastrate trebuie sa fie cel putin 1."));
}

} // namespace

QString BackupRotation::archiveName(const QDateTime &when) {
    return QStringLiteral("Velmora-%1.vmr").arg(when.toString(QStringLiteral("yyyy-MM-dd-HHmm")));
}

QDateTime BackupRotation::momentOf(const QString &fileName) {
    static const QRegularExpression pattern(
        QStringLiteral("^Velmora-(\\d{4})-(\\d{2})-(\\d{2})-(\\d{2})(\\d{2})\\.vmr$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return {};
    const auto part = [&match](int n) {
        return match.capturedView(n).toInt();
    };
    const QDate date(part(1), part(2), part(3));
    const QTime time(part(4), part(5));
    if (!date.isValid() || !time.isValid())
        return {};
    // Compared among themselves only, so the zone does not matter; UTC has no gaps.
    return QDateTime(date, time, Qt::UTC);
}

QString BackupRotation::backUp(const QString &folder, int keep, const QDateTime &now,
                               const WriteArchive &write) {
    checkKeep(keep);
    if (!QDir().mkpath(folder)) {
        throw FileError(QStringLiteral("Directorul %1 nu poate fi creat.")
                            .arg(QDir::toNativeSeparators(folder)));
    }
    const QString name = archiveName(now);
    const QString path = QDir(folder).filePath(name);
    write(path);
    prune(folder, keep, name);
    return path;
}

QStringList BackupRotation::prune(const QString &folder, int keep, const QString &kept) {
    checkKeep(keep);
    struct Archive {
        QDateTime moment;
        QString name;
    };
    QList<Archive> archives;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("Velmora-*.vmr")}, QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        const QDateTime moment = momentOf(name);
        if (moment.isValid() && name != kept)
            archives.append({moment, name});
    }
    // The kept one counts against the number even when a clock set wrong made the others newer.
    const qsizetype room = QFileInfo::exists(QDir(folder).filePath(kept)) ? keep - 1 : keep;
    std::sort(archives.begin(), archives.end(),
              [](const Archive &a, const Archive &b) { return a.moment > b.moment; });
    QStringList removed;
    QStringList refused;
    for (qsizetype i = archives.size() - 1; i >= room; --i) {
        if (QFile::remove(QDir(folder).filePath(archives[i].name)))
            removed.append(archives[i].name);
        else
            refused.append(archives[i].name);
    }
    if (!refused.isEmpty()) {
        throw FileError(
            QStringLiteral("Arhivele vechi %1 din %2 nu pot fi sterse.")
                .arg(refused.join(QStringLiteral(", ")), QDir::toNativeSeparators(folder)));
    }
    return removed;
}

} // namespace velmora
