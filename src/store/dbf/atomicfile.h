// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>

namespace velmora {

// Replaces a file as a whole: the new content is written beside it, flushed and renamed over
// it, so the file is always either the old or the new version. Dropping the object without
// commit() leaves the old file as it was. The new file keeps the old one's permissions, and a
// file the user made read-only is refused (a FileError before anything is written): the
// rename would otherwise go around its permission.
//
// The file written beside is "<name>.velmora-tmp". One that a killed process left behind is
// removed by removeStale() at the next start or pack; backups leave such files out.
class AtomicFile {
public:
    explicit AtomicFile(QString path);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    void write(QByteArrayView bytes);
    void commit();

    // The whole job in one call.
    static void replace(const QString &path, QByteArrayView content);

    static QString temporaryPath(const QString &path);
    static bool isTemporary(const QString &fileName);
    // Removes the temporary files of replacements that never finished from the directory;
    // only while no replacement can be under way there (the data lock held exclusive).
    // Returns the names removed.
    static QStringList removeStale(const QString &dir);
    // Raises a FileError when path names an existing file without write permission.
    static void refuseReadOnly(const QString &path);
    [[noreturn]] static void throwReadOnly(const QString &path);

private:
    QString m_path;
    QFile m_temp;
    bool m_committed = false;
};

} // namespace velmora
