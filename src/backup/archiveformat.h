// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;

namespace velmora {

class MemberDeflater;

// The backup archive: a little-endian 32-bit member count, then per member the stored name's
// length, the stored name ("Data\" and the file name, cp1250), the file's size and one
// complete zlib stream of its bytes; nothing between members, nothing after the last.
// Files are streamed through 64 KB buffers, never read whole.
class ArchiveFormat {
public:
    // Called once per member, before it: position and the member count.
    using Progress = std::function<void(int position, int maximum)>;

    struct Member {
        QString fileName; // inside Data
        qint64 size = 0;
        bool operator==(const Member &) const = default;
    };

    // ListFileDir: the files of programDir/Data that go into an archive.
    static QStringList listFileDir(const QString &programDir);

    // CompressFiles: the archive of the given files, written beside archivePath and renamed
    // over it once complete, so a failed save leaves any earlier archive as it was. An empty
    // list writes nothing and returns 0; otherwise the member count.
    static int compressFiles(const QStringList &files, const QString &archivePath,
                             const Progress &progress = {});
    static int compressFiles(const QStringList &files, QIODevice &archive,
                             const MemberDeflater &deflater, const Progress &progress = {});

    // DecompressFiles: reads the whole archive and writes each member into targetDir (which
    // stands for Data) under its own file name. The archive is refused with an ArchiveError
    // when anything in it is out of order: a count, name or size that cannot be, a zlib
    // stream that is damaged, fails its checksum or does not yield exactly the stated size,
    // a name twice, bytes after the last member. Counts and sizes are checked against the
    // archive's length before anything is allocated. What was written into targetDir before
    // the refusal stays there: callers unpack into a staging directory.
    static QList<Member> decompressFiles(const QString &archivePath, const QString &targetDir,
                                         const Progress &progress = {});
    static QList<Member> decompressFiles(QIODevice &archive, const QString &targetDir,
                                         const QString &archiveName, const Progress &progress = {});

    // The members of a sound archive, read through to the end without writing anything; an
    // ArchiveError as above otherwise.
    static QList<Member> verify(const QString &archivePath);

    // Deletes the files directly in dir, leaving its subdirectories; a file that
    // cannot be deleted stays. Returns the names of those that stayed.
    static QStringList emptyDirectory(const QString &dir);

private:
    static QList<Member> read(QIODevice &archive, const QString &archiveName,
                              const QString &targetDir, const Progress &progress);
};

} // namespace velmora
