// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace velmora {

// Backups that keep themselves: dated archives in one folder, of which only the newest few
// are kept. Only files named as this class names them are ever removed; whatever else the
// user keeps in the folder stays.
class BackupRotation {
public:
    // Writes the archive at the path given; raises a velmora::Error when it cannot.
    using WriteArchive = std::function<void(const QString &archivePath)>;

    // "Velmora-YYYY-MM-DD-HHMM.vmr", the moment in local time.
    static QString archiveName(const QDateTime &when);
    // The moment named by such a file name; invalid for any other name.
    static QDateTime momentOf(const QString &fileName);

    // Creates the folder when missing, writes a new archive named for now through write and
    // then keeps the newest keep archives of the folder, the new one always among them. When
    // write raises, nothing is removed. Returns the new archive's path.
    static QString backUp(const QString &folder, int keep, const QDateTime &now,
                          const WriteArchive &write);

    // Removes the oldest archives of the folder beyond keep, never the one named kept.
    // Returns the names removed, oldest first. A FileError after trying them all when one
    // cannot be removed.
    static QStringList prune(const QString &folder, int keep, const QString &kept);
};

} // namespace velmora
