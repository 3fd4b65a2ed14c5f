// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

class QIODevice;

namespace velmora {

// Reads an archive front to back through one 64 KB buffer: the fixed fields and the members'
// zlib streams, whose length the format does not store; inflate finds each stream's end, and
// the bytes it read beyond it stay in the buffer for the next field.
class ArchiveInput {
public:
    static constexpr qint64 kBuffer = 64 * 1024;

    // size: the archive's length, so that a field's claim can be checked against what is left.
    ArchiveInput(QIODevice &device, qint64 size);

    // Bytes not yet consumed.
    qint64 remaining() const { return m_size - m_consumed; }

    // Nothing when the archive ends first (or, for bytes, holds fewer than count).
    [[nodiscard]] std::optional<qint32> readInt32();
    [[nodiscard]] std::optional<QByteArray> readBytes(qint32 count);

    // Inflates the zlib stream that starts here and hands its output to sink in pieces of at
    // most 64 KB; the stream must pass its Adler-32 check and yield exactly size bytes. Returns
    // an empty string, or the reason it was refused (nothing more is read then).
    // A read error of the archive file itself is a FileError.
    using Sink = std::function<void(const char *data, qint64 size)>;
    [[nodiscard]] QString inflate(qint64 size, const Sink &sink);

private:
    // Refills the buffer once it is used up; false at the end of the archive.
    [[nodiscard]] bool fill();

    QIODevice &m_device;
    qint64 m_size;
    qint64 m_consumed = 0;
    QByteArray m_buffer;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
};

} // namespace velmora
