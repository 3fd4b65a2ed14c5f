#pragma once

#include <QString>

class QFileDevice;

namespace velmora {

// The few file-system calls Qt does not offer portably.
class Platform {
public:
    // Renames from over to, replacing an existing file in one step. False with a message on
    // failure.
    static bool replaceFile(const QString &from, const QString &to, QString *error);
    // Pushes the file's written data to the disk.
    static bool syncFile(QFileDevice &file);
    // Pushes a directory's entries (a created, renamed or removed name) to the disk, where the
    // system allows it; a no-op elsewhere.
    static void syncDirectory(const QString &path);
};

} // namespace velmora
