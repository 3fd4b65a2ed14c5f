// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/dbfjournal.h"

#include "store/dbf/faultpoint.h"
#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QtEndian>

namespace velmora {

namespace {

constexpr char kHead[] = "VMJRNL01";
constexpr char kTail[] = "VMJEND01";
constexpr int kMagicSize = 8;
constexpr int kHashSize = 16;
constexpr int kTrailerSize = 8 + kHashSize + kMagicSize;

void putU64(QByteArray &out, quint64 v) {
    char b[8];
    qToLittleEndian(v, b);
    out.append(b, 8);
}

void putU32(QByteArray &out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

QByteArray hashOf(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
}

[[noreturn]] void failed(const QString &path, const QString &what, const QString &reason) {
    throw FileError(QStringLiteral("%1 %2: %3").arg(what, QDir::toNativeSeparators(path), reason));
}

// Writes the original bytes of each region back and cuts the table to its original size.
void apply(QFile &table, QByteArrayView payload) {
    const qint64 originalSize = qFromLittleEndian<qint64>(payload.data());
    const quint32 count = qFromLittleEndian<quint32>(payload.data() + 8);
    qsizetype pos = 12;
    for (quint32 i = 0; i < count; ++i) {
        const qint64 offset = qFromLittleEndian<qint64>(payload.data() + pos);
        const quint32 length = qFromLittleEndian<quint32>(payload.data() + pos + 8);
        pos += 12;
        FaultPoint::hit();
        if (!table.seek(offset) ||
            table.write(payload.data() + pos, length) != static_cast<qint64>(length)) {
            failed(table.fileName(), QStringLiteral("Tabela nu poate fi refacuta"),
                   Platform::reason(table));
        }
        pos += length;
    }
    FaultPoint::hit();
    if (table.size() != originalSize && !table.resize(originalSize))
        failed(table.fileName(), QStringLiteral("Tabela nu poate fi refacuta"),
               Platform::reason(table));
    FaultPoint::hit();
    if (!Platform::syncFile(table))
        failed(table.fileName(), QStringLiteral("Tabela nu poate fi refacuta"),
               Platform::reason(table));
}

// The regions must lie within the payload exactly; a checksum only proves the bytes are the
// ones written, not that the writer was sane.
bool wellFormed(QByteArrayView payload) {
    if (payload.size() < 12)
        return false;
    const quint32 count = qFromLittleEndian<quint32>(payload.data() + 8);
    qsizetype pos = 12;
    for (quint32 i = 0; i < count; ++i) {
        if (payload.size() - pos < 12)
            return false;
        const quint32 length = qFromLittleEndian<quint32>(payload.data() + pos + 8);
        pos += 12;
        if (payload.size() - pos < static_cast<qsizetype>(length))
            return false;
        pos += length;
    }
    return pos == payload.size();
}

} // namespace

DbfJournal::DbfJournal(const QString &tablePath)
    : m_tablePath(tablePath)
    , m_path(pathFor(tablePath)) {}

QString DbfJournal::pathFor(const QString &tablePath) {
    return tablePath + QStringLiteral(".jnl");
}

void DbfJournal::add(qint64 offset, QByteArrayView original) {
    putU64(m_regions, static_cast<quint64>(offset));
    putU32(m_regions, static_cast<quint32>(original.size()));
    m_regions.append(original.data(), original.size());
    ++m_regionCount;
}

void DbfJournal::write(qint64 originalSize) {
    m_originalSize = originalSize;
    QByteArray payload;
    payload.reserve(12 + m_regions.size());
    putU64(payload, static_cast<quint64>(originalSize));
    putU32(payload, m_regionCount);
    payload.append(m_regions);

    QByteArray file;
    file.reserve(kMagicSize + payload.size() + kTrailerSize);
    file.append(kHead, kMagicSize);
    file.append(payload);
    putU64(file, static_cast<quint64>(payload.size()));
    file.append(hashOf(payload));
    file.append(kTail, kMagicSize);

    const QString what = QStringLiteral("Jurnalul modificarii nu poate fi scris");
    FaultPoint::hit();
    QFile out(m_path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        failed(m_path, what, Platform::reason(out));
    FaultPoint::hit();
    if (out.write(file) != file.size()) {
        const QString reason = Platform::reason(out);
        out.close();
        out.remove();
        failed(m_path, what, reason);
    }
    FaultPoint::hit();
    if (!Platform::syncFile(out)) {
        const QString reason = Platform::reason(out);
        out.close();
        out.remove();
        failed(m_path, what, reason);
    }
    // No sync of the directory: on the journaling file systems the program runs on (ext4,
    // xfs, NTFS) the file's own sync commits its new directory entry with it, and a second
    // sync would double the cost of every UPDATE and DELETE.
    out.close();
}

void DbfJournal::restore(QFile &table) const {
    QByteArray payload;
    putU64(payload, static_cast<quint64>(m_originalSize));
    putU32(payload, m_regionCount);
    payload.append(m_regions);
    apply(table, payload);
}

void DbfJournal::remove() {
    FaultPoint::hit();
    if (!QFile::remove(m_path) && QFile::exists(m_path)) {
        failed(m_path, QStringLiteral("Jurnalul modificarii nu poate fi sters"),
               QStringLiteral("fisierul ramane si va fi folosit la urmatoarea deschidere"));
    }
}

std::optional<QByteArray> DbfJournal::parse(QByteArrayView file) {
    if (file.size() < kMagicSize + 12 + kTrailerSize)
        return std::nullopt;
    if (QByteArrayView(file.data(), kMagicSize) != QByteArrayView(kHead, kMagicSize))
        return std::nullopt;
    const char *trailer = file.data() + file.size() - kTrailerSize;
    if (QByteArrayView(trailer + 8 + kHashSize, kMagicSize) != QByteArrayView(kTail, kMagicSize))
        return std::nullopt;
    const quint64 length = qFromLittleEndian<quint64>(trailer);
    if (length != static_cast<quint64>(file.size() - kMagicSize - kTrailerSize))
        return std::nullopt;
    const QByteArrayView body(file.data() + kMagicSize, static_cast<qsizetype>(length));
    if (hashOf(body) != QByteArrayView(trailer + 8, kHashSize) || !wellFormed(body))
        return std::nullopt;
    return body.toByteArray();
}

void DbfJournal::recover(const QString &tablePath) {
    const QString path = pathFor(tablePath);
    if (!QFile::exists(path))
        return;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        failed(path, QStringLiteral("Jurnalul modificarii nu poate fi citit"),
               Platform::reason(in));
    const QByteArray file = in.readAll();
    in.close();
    const std::optional<QByteArray> payload = parse(file);
    if (payload && QFile::exists(tablePath)) {
        QFile table(tablePath);
        if (!table.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
            failed(tablePath, QStringLiteral("Tabela nu poate fi refacuta"),
                   Platform::reason(table));
        apply(table, *payload);
    }
    DbfJournal(tablePath).remove();
}

} // namespace velmora
