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
    // Lets another process bring its window to the front: Windows grants that only to the
    // process the user is working in, which a copy just started by the user is.
    static void allowForegroundSwitch();
    // Pushes a directory's entries (a created, renamed or removed name) to the disk, where the
    // system allows it; a no-op elsewhere.
    static void syncDirectory(const QString &path);
};

} // namespace velmora
