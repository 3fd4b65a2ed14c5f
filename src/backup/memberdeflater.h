// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

class QIODevice;

namespace velmora {

// Compresses one archive member into one zlib stream (level 9, 32 KB window, header 78 DA).
// A large member is cut into blocks that several threads compress at once, each block primed
// with the 32 KB that precede it as its dictionary, so back-references still reach across the
// cut; the blocks end on a byte boundary (sync flush) and are joined into a single stream
// whose Adler-32 is combined from the blocks' own. Any zlib reader inflates the result.
class MemberDeflater {
public:
    static constexpr qint64 kChunk = 64 * 1024;
    static constexpr qint64 kBlockSize = 256 * 1024;

    // threads 0: one per processor.
    explicit MemberDeflater(int threads = 0, qint64 blockSize = kBlockSize);

    // Reads exactly size bytes of source, from its current position, and writes the stream to
    // out. name is the member's file, for the messages; a FileError when reading or writing
    // fails.
    void compress(QIODevice &source, qint64 size, QIODevice &out, const QString &name) const;

    int threads() const { return m_threads; }

private:
    void compressSerial(QIODevice &source, qint64 size, QIODevice &out, const QString &name) const;
    void compressParallel(QIODevice &source, qint64 size, QIODevice &out,
                          const QString &name) const;

    int m_threads;
    qint64 m_blockSize;
};

} // namespace velmora
