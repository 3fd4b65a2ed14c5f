// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/archiveinput.h"

#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QIODevice>
#include <cstring>
#include <zlib.h>

namespace velmora {

ArchiveInput::ArchiveInput(QIODevice &device, qint64 size)
    : m_device(device)
    , m_size(size)
    , m_buffer(kBuffer, Qt::Uninitialized) {}

bool ArchiveInput::fill() {
    if (m_begin < m_end)
        return true;
    m_begin = 0;
    m_end = 0;
    const qint64 got = m_device.read(m_buffer.data(), kBuffer);
    if (got < 0)
        throw FileError(
            QStringLiteral("Arhiva nu poate fi citita: %1").arg(Platform::reason(m_device)));
    m_end = got;
    return got > 0;
}

std::optional<qint32> ArchiveInput::readInt32() {
    unsigned char bytes[4];
    for (unsigned char &byte : bytes) {
        if (!fill())
            return std::nullopt;
        byte = static_cast<unsigned char>(m_buffer[m_begin++]);
        ++m_consumed;
    }
    return static_cast<qint32>(quint32(bytes[0]) | quint32(bytes[1]) << 8 |
                               quint32(bytes[2]) << 16 | quint32(bytes[3]) << 24);
}

std::optional<QByteArray> ArchiveInput::readBytes(qint32 count) {
    if (count < 0 || count > remaining())
        return std::nullopt;
    QByteArray bytes;
    bytes.reserve(count);
    while (bytes.size() < count) {
        if (!fill())
            return std::nullopt;
        const qsizetype n = std::min<qsizetype>(m_end - m_begin, count - bytes.size());
        bytes.append(m_buffer.constData() + m_begin, n);
        m_begin += n;
        m_consumed += n;
    }
    return bytes;
}

QString ArchiveInput::inflate(qint64 size, const Sink &sink) {
    z_stream z{};
    if (inflateInit2(&z, 15) != Z_OK)
        return QStringLiteral("memorie insuficienta pentru decomprimare");
    struct End {
        z_stream &z;
        ~End() { inflateEnd(&z); }
    } end{z};

    QByteArray out(kBuffer, Qt::Uninitialized);
    qint64 produced = 0;
    for (;;) {
        if (!fill())
            return QStringLiteral("arhiva se termina in interiorul datelor comprimate");
        z.next_in = reinterpret_cast<Bytef *>(m_buffer.data() + m_begin);
        z.avail_in = static_cast<uInt>(m_end - m_begin);
        z.next_out = reinterpret_cast<Bytef *>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        const int rc = ::inflate(&z, Z_NO_FLUSH);
        const qsizetype used = (m_end - m_begin) - qsizetype(z.avail_in);
        m_begin += used;
        m_consumed += used;
        const qint64 got = out.size() - qint64(z.avail_out);
        if (rc == Z_NEED_DICT || rc == Z_DATA_ERROR)
            return QStringLiteral("date comprimate deteriorate (%1)")
                .arg(QString::fromLatin1(z.msg ? z.msg : "zlib"));
        if (rc == Z_MEM_ERROR)
            return QStringLiteral("memorie insuficienta pentru decomprimare");
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
            return QStringLiteral("date comprimate deteriorate");
        if (got > size - produced)
            return QStringLiteral("datele decomprimate depasesc dimensiunea declarata");
        if (got > 0)
            sink(out.constData(), got);
        produced += got;
        if (rc == Z_STREAM_END) {
            if (produced != size)
                return QStringLiteral("datele decomprimate sunt mai scurte decat dimensiunea "
                                      "declarata (%1 din %2 octeti)")
                    .arg(produced)
                    .arg(size);
            return QString();
        }
    }
}

} // namespace velmora
