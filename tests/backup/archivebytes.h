// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <zlib.h>

// Archives made by hand, member by member, so that a test can set every field to what it
// needs, sound or not.
inline QByteArray int32le(qint32 value) {
    const auto v = static_cast<quint32>(value);
    const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    return QByteArray(bytes, 4);
}

// One zlib stream of the bytes, as any level-9 writer makes it.
inline QByteArray zlibStream(const QByteArray &bytes) {
    uLongf size = compressBound(uLong(bytes.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef *>(out.data()), &size,
                  reinterpret_cast<const Bytef *>(bytes.constData()), uLong(bytes.size()),
                  9) != Z_OK)
        qFatal("compress2 failed");
    out.resize(qsizetype(size));
    return out;
}

inline QByteArray member(const QByteArray &storedName, qint32 size, const QByteArray &stream) {
    return int32le(qint32(storedName.size())) + storedName + int32le(size) + stream;
}

inline QByteArray member(const QByteArray &storedName, const QByteArray &content) {
    return member(storedName, qint32(content.size()), zlibStream(content));
}

// Inflates one zlib stream that must take up all of bytes; a null array when it fails or
// leaves bytes over.
inline QByteArray inflateWhole(const QByteArray &bytes, qsizetype expected) {
    QByteArray out(expected, Qt::Uninitialized);
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return QByteArray();
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    z.avail_in = uInt(bytes.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = inflate(&z, Z_FINISH);
    const bool whole = rc == Z_STREAM_END && z.avail_in == 0 && z.avail_out == 0;
    inflateEnd(&z);
    return whole ? out : QByteArray();
}

// Bytes that compress about as well as a table does: fixed-width records of digits, names and
// blank padding, with a little noise so that the compressor has real work to do.
inline QByteArray tableLike(qsizetype size, quint32 seed) {
    QByteArray out;
    out.reserve(size);
    quint32 state = seed * 2654435761u + 1;
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    static const char *const names[] = {"POPESCU ION", "IONESCU VASILE", "B-12-ABC", "CJ-07-XYZ",
                                        "DEPOU NORD",  "PLECARE",        "SOSIRE"};
    while (out.size() < size) {
        out += ' ';
        out += QByteArray::number(next() % 100000).rightJustified(8, ' ');
        const char *name = names[next() % 7];
        out += QByteArray(name).leftJustified(30, ' ');
        out += QByteArray::number(next() % 1000000, 10).rightJustified(12, ' ');
        out += QByteArray::number(20260101 + next() % 365);
    }
    out.resize(size);
    return out;
}
