// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/archiveformat.h"

#include "backup/archiveinput.h"
#include "backup/datafiles.h"
#include "backup/memberdeflater.h"
#include "backup/membername.h"
#include "store/dbf/faultpoint.h"
#include "store/dbf/platform.h"
#include "store/text/cp1250.h"
#include "store/text/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <limits>

namespace velmora {

namespace {

// The least a member can take: its two fields, "Data\" and one character, a zlib header,
// one byte of deflate data and the checksum.
constexpr qint64 kSmallestMember = 4 + 6 + 4 + 2 + 1 + 4;
// Deflate cannot expand by more than this: one 258-byte match per two bits.
constexpr qint64 kMostExpansion = 1032;

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

void writeInt32(QIODevice &out, qint32 value) {
    const auto v = static_cast<quint32>(value);
    const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    if (out.write(bytes, 4) != 4)
        throw FileError(QStringLiteral("Arhiva nu poate fi scrisa: %1").arg(Platform::reason(out)));
}

void writeBytes(QIODevice &out, const QByteArray &bytes) {
    if (out.write(bytes) != bytes.size())
        throw FileError(QStringLiteral("Arhiva nu poate fi scrisa: %1").arg(Platform::reason(out)));
}

} // namespace

QStringList ArchiveFormat::listFileDir(const QString &programDir) {
    return DataFiles::list(programDir + QStringLiteral("/Data")).files;
}

int ArchiveFormat::compressFiles(const QStringList &files, QIODevice &archive,
                                 const MemberDeflater &deflater, const Progress &progress) {
    if (files.isEmpty())
        return 0;
    if (files.size() > std::numeric_limits<qint32>::max())
        throw ArchiveError(QStringLiteral("Prea multe fisiere pentru o arhiva."));
    const int count = int(files.size());
    writeInt32(archive, count);
    for (int i = 0; i < count; ++i) {
        QFile source;
        QString reason;
        if (!Platform::openRegularFile(files[i], source, &reason))
            throw FileError(
                QStringLiteral("Fisierul %1 nu poate fi deschis: %2").arg(shown(files[i]), reason));
        if (progress)
            progress(i, count);
        const qint64 size = source.size();
        if (size <= 0 || size > std::numeric_limits<qint32>::max())
            throw ArchiveError(QStringLiteral("Fisierul %1 nu poate intra in arhiva (%2 octeti).")
                                   .arg(shown(files[i]))
                                   .arg(size));
        const QByteArray name = MemberName::stored(QFileInfo(files[i]).fileName());
        writeInt32(archive, qint32(name.size()));
        writeBytes(archive, name);
        writeInt32(archive, qint32(size));
        deflater.compress(source, size, archive, files[i]);
    }
    return count;
}

int ArchiveFormat::compressFiles(const QStringList &files, const QString &archivePath,
                                 const Progress &progress) {
    if (files.isEmpty())
        return 0;
    QSaveFile archive(archivePath);
    if (!archive.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("Arhiva %1 nu poate fi creata: %2")
                            .arg(shown(archivePath), Platform::reason(archive)));
    const int count = compressFiles(files, archive, MemberDeflater(), progress);
    // Dropping the QSaveFile on an error above leaves the earlier archive as it was.
    if (!archive.commit())
        throw FileError(QStringLiteral("Arhiva %1 nu poate fi scrisa: %2")
                            .arg(shown(archivePath), Platform::reason(archive)));
    return count;
}

QList<ArchiveFormat::Member> ArchiveFormat::read(QIODevice &archive, const QString &archiveName,
                                                 const QString &targetDir,
                                                 const Progress &progress) {
    const auto damaged = [&](const QString &reason) {
        return ArchiveError(
            QStringLiteral("Arhiva %1 este deteriorata: %2.").arg(shown(archiveName), reason));
    };
    ArchiveInput in(archive, archive.size() - archive.pos());
    // Every archive begins with a member count and the first name, "Data\" and a file name;
    // anything else is some other file, not a damaged archive.
    const auto foreign = [&] {
        return ArchiveError(
            QStringLiteral("Fisierul %1 nu este o salvare Velmora.").arg(shown(archiveName)));
    };
    const std::optional<qint32> count = in.readInt32();
    const std::optional<qint32> firstLength = count ? in.readInt32() : std::nullopt;
    if (!firstLength || *firstLength <= 0 || *firstLength > MemberName::kMaxLength)
        throw foreign();
    std::optional<QByteArray> firstName = in.readBytes(*firstLength);
    if (!firstName || !MemberName::hasPrefix(*firstName))
        throw foreign();
    if (*count <= 0 || *count > (in.remaining() + 4 + *firstLength) / kSmallestMember)
        throw damaged(QStringLiteral("numarul de fisiere (%1) nu este posibil").arg(*count));

    QList<Member> members;
    QSet<QString> seen;
    for (int i = 1; i <= *count; ++i) {
        if (progress)
            progress(i, *count);
        const QString where = QStringLiteral("fisierul %1 din %2").arg(i).arg(*count);
        QByteArray stored = std::exchange(*firstName, QByteArray());
        if (i > 1) {
            const std::optional<qint32> length = in.readInt32();
            if (!length)
                throw damaged(QStringLiteral("se termina inainte de %1").arg(where));
            if (*length <= 0 || *length > MemberName::kMaxLength)
                throw damaged(QStringLiteral("lungimea numelui pentru %1 (%2) nu este posibila")
                                  .arg(where)
                                  .arg(*length));
            std::optional<QByteArray> name = in.readBytes(*length);
            if (!name)
                throw damaged(QStringLiteral("se termina in numele pentru %1").arg(where));
            stored = std::move(*name);
        }
        const QString fileName = MemberName::fileName(stored);
        if (fileName.isEmpty())
            throw damaged(QStringLiteral("numele \"%1\" nu este un fisier din directorul Data")
                              .arg(Cp1250::decode(stored)));
        if (seen.contains(fileName.toCaseFolded()))
            throw damaged(QStringLiteral("fisierul %1 apare de doua ori").arg(fileName));
        seen.insert(fileName.toCaseFolded());
        const std::optional<qint32> sizeField = in.readInt32();
        if (!sizeField)
            throw damaged(
                QStringLiteral("se termina inainte de dimensiunea fisierului %1").arg(fileName));
        const qint32 size = *sizeField;
        if (size <= 0 || size > in.remaining() * kMostExpansion)
            throw damaged(QStringLiteral("dimensiunea fisierului %1 (%2) nu este posibila")
                              .arg(fileName)
                              .arg(size));

        QString reason;
        if (targetDir.isEmpty()) {
            reason = in.inflate(size, [](const char *, qint64) {});
        } else {
            const QString path = targetDir + u'/' + fileName;
            FaultPoint::hit();
            QFile out(path);
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                throw FileError(QStringLiteral("Fisierul %1 nu poate fi creat: %2")
                                    .arg(shown(path), Platform::reason(out)));
            reason = in.inflate(size, [&](const char *data, qint64 n) {
                if (out.write(data, n) != n)
                    throw FileError(QStringLiteral("Fisierul %1 nu poate fi scris: %2")
                                        .arg(shown(path), Platform::reason(out)));
            });
            if (reason.isEmpty() && !Platform::syncFile(out))
                throw FileError(QStringLiteral("Fisierul %1 nu poate fi scris: %2")
                                    .arg(shown(path), Platform::reason(out)));
        }
        if (!reason.isEmpty())
            throw damaged(QStringLiteral("fisierul %1: %2").arg(fileName, reason));
        members.append({fileName, size});
    }
    if (in.remaining() > 0)
        throw damaged(
            QStringLiteral("dupa ultimul fisier urmeaza %1 octeti in plus").arg(in.remaining()));
    return members;
}

QList<ArchiveFormat::Member> ArchiveFormat::decompressFiles(QIODevice &archive,
                                                            const QString &targetDir,
                                                            const QString &archiveName,
                                                            const Progress &progress) {
    return read(archive, archiveName, targetDir, progress);
}

QList<ArchiveFormat::Member> ArchiveFormat::decompressFiles(const QString &archivePath,
                                                            const QString &targetDir,
                                                            const Progress &progress) {
    QFile archive(archivePath);
    if (!archive.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Arhiva %1 nu poate fi deschisa: %2")
                            .arg(shown(archivePath), Platform::reason(archive)));
    return read(archive, archivePath, targetDir, progress);
}

QList<ArchiveFormat::Member> ArchiveFormat::verify(const QString &archivePath) {
    return decompressFiles(archivePath, QString());
}

QStringList ArchiveFormat::emptyDirectory(const QString &dir) {
    QStringList stayed;
    const QFileInfoList entries =
        QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (!QFile::remove(entry.absoluteFilePath()))
            stayed.append(entry.fileName());
    }
    return stayed;
}

} // namespace velmora
