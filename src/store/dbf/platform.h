#pragma once

#include <QString>
#include <QtGlobal>

class QFileDevice;

namespace velmora {

// The few file-system calls Qt does not offer portably.
class Platform {
public:
    // Renames from over to, replacing an existing file in one step. False with a message on
    // failure.
    static bool replaceFile(const QString &from, const QString &to, QString *error);
    // Pushes the file's written data to the disk; with syncing switched off, only hands it to
    // the system, which keeps every process's view in order but not a power cut's.
    static bool syncFile(QFileDevice &file);
    // Lets another process bring its window to the front: Windows grants that only to the
    // process the user is working in, which a copy just started by the user is.
    static void allowForegroundSwitch();
    // On by default. Bulk work (generating test data) may switch it off for its duration.
    static void setSyncEnabled(bool on);
    static bool syncEnabled();
    // Pushes a directory's entries (a created, renamed or removed name) to the disk, where the
    // system allows it; a no-op elsewhere.
    static void syncDirectory(const QString &path);
    // A hint that a freshly allocated buffer of many megabytes is about to be filled at once
    // (a whole table read into memory): on Linux it asks for huge pages, which saves a page
    // fault per 4 KB. A no-op elsewhere.
    static void adviseLargeBuffer(char *data, qint64 size);
};

} // namespace velmora
