// SPDX-License-Identifier: GPL-3.0-or-later
// The archive reader against any bytes: it either refuses them with an ArchiveError, or what
// it accepted are plain files directly in the target directory, one per member, each exactly
// as long as its member says.

#include "backup/archiveformat.h"
#include "backup/membername.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir &workDir() {
    static QTemporaryDir dir;
    // What a power cut would do is no concern here; syncing every file only slows the runs.
    velmora::Platform::setSyncEnabled(false);
    return dir;
}

[[noreturn]] void broken(const char *what) {
    std::fprintf(stderr, "accepted archive breaks a rule: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QTemporaryDir &dir = workDir();
    const QString target = dir.filePath(QStringLiteral("Data"));
    QDir(target).removeRecursively();
    QDir().mkpath(target);

    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QBuffer archive(&bytes);
    archive.open(QIODevice::ReadOnly);
    QList<velmora::ArchiveFormat::Member> members;
    try {
        members =
            velmora::ArchiveFormat::decompressFiles(archive, target, QStringLiteral("fuzz.vmr"));
    } catch (const velmora::ArchiveError &) {
        return 0;
    }

    // Nothing may have been written anywhere but directly inside the target.
    const QStringList besideTarget =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (besideTarget != QStringList{QStringLiteral("Data")})
        broken("a file outside the target directory");
    const QFileInfoList written = QDir(target).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
    if (members.isEmpty() || written.size() != members.size())
        broken("the files written are not the members");
    for (const velmora::ArchiveFormat::Member &member : members) {
        if (!velmora::MemberName::isPlain(member.fileName))
            broken("a member name that is not a plain file name");
        const QFileInfo file(target + u'/' + member.fileName);
        if (!file.isFile() || file.isSymLink() || file.size() != member.size || member.size <= 0)
            broken("a member whose file does not have its size");
    }
    return 0;
}
