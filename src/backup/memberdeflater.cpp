// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup/memberdeflater.h"

#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QDir>
#include <QIODevice>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>
#include <zlib.h>

namespace velmora {

namespace {

constexpr int kLevel = 9;
constexpr int kWindowBits = 15;
constexpr int kMemLevel = 8;
constexpr qint64 kDictionary = 32 * 1024;

[[noreturn]] void readFailed(const QString &name, const QIODevice &source) {
    throw FileError(QStringLiteral("Fisierul %1 nu poate fi citit: %2")
                        .arg(QDir::toNativeSeparators(name), Platform::reason(source)));
}

[[noreturn]] void writeFailed(const QIODevice &out) {
    throw FileError(QStringLiteral("Arhiva nu poate fi scrisa: %1").arg(Platform::reason(out)));
}

[[noreturn]] void zlibFailed(const QString &name) {
    throw FileError(QStringLiteral("Fisierul %1 nu poate fi comprimat (memorie insuficienta).")
                        .arg(QDir::toNativeSeparators(name)));
}

void writeAll(QIODevice &out, const char *data, qint64 size) {
    if (size > 0 && out.write(data, size) != size)
        writeFailed(out);
}

// Appends exactly n bytes of source to buffer, in reads of at most one chunk.
void readInto(QIODevice &source, qint64 n, QByteArray &buffer, const QString &name) {
    const qsizetype start = buffer.size();
    buffer.resize(start + n);
    qint64 done = 0;
    while (done < n) {
        const qint64 got =
            source.read(buffer.data() + start + done, std::min(n - done, MemberDeflater::kChunk));
        if (got < 0)
            readFailed(name, source);
        if (got == 0)
            throw FileError(QStringLiteral("Fisierul %1 s-a scurtat in timpul salvarii.")
                                .arg(QDir::toNativeSeparators(name)));
        done += got;
    }
}

// Owns a deflate stream for the life of a scope.
class Deflate {
public:
    explicit Deflate(int windowBits) {
        m_ok = deflateInit2(&m_stream, kLevel, Z_DEFLATED, windowBits, kMemLevel,
                            Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Deflate() {
        if (m_ok)
            deflateEnd(&m_stream);
    }
    Deflate(const Deflate &) = delete;
    Deflate &operator=(const Deflate &) = delete;

    bool ok() const { return m_ok; }
    z_stream &stream() { return m_stream; }

private:
    z_stream m_stream{};
    bool m_ok = false;
};

// One block of a large member and, once a worker is done with it, its raw deflate data.
struct Block {
    QByteArray input;
    QByteArray dictionary;
    bool last = false;
    QByteArray output;
    uLong adler = 0;
    bool done = false;
    bool failed = false;
};

// Raw deflate of one block, ending on a byte boundary (or with the final block's end).
bool deflateBlock(z_stream &z, Block &block) {
    if (deflateReset(&z) != Z_OK)
        return false;
    if (!block.dictionary.isEmpty() &&
        deflateSetDictionary(&z, reinterpret_cast<const Bytef *>(block.dictionary.constData()),
                             static_cast<uInt>(block.dictionary.size())) != Z_OK)
        return false;
    block.adler =
        adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef *>(block.input.constData()),
                static_cast<uInt>(block.input.size()));
    // The bound covers a finished stream; the sync marker adds a few bytes more.
    block.output.resize(static_cast<qsizetype>(deflateBound(&z, uLong(block.input.size())) + 64));
    z.next_in = reinterpret_cast<Bytef *>(block.input.data());
    z.avail_in = static_cast<uInt>(block.input.size());
    qsizetype produced = 0;
    const int flush = block.last ? Z_FINISH : Z_SYNC_FLUSH;
    for (;;) {
        z.next_out = reinterpret_cast<Bytef *>(block.output.data() + produced);
        z.avail_out = static_cast<uInt>(block.output.size() - produced);
        const int rc = ::deflate(&z, flush);
        produced = block.output.size() - z.avail_out;
        if (rc == Z_STREAM_ERROR)
            return false;
        if (block.last ? rc == Z_STREAM_END : (z.avail_in == 0 && z.avail_out != 0))
            break;
        block.output.resize(block.output.size() * 2);
    }
    block.output.resize(produced);
    return true;
}

// Workers that take blocks in order and compress them; the caller collects them in order.
class BlockPool {
public:
    explicit BlockPool(int threads) {
        for (int i = 0; i < threads; ++i)
            m_workers.emplace_back([this] { work(); });
    }
    ~BlockPool() {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        for (std::thread &worker : m_workers)
            worker.join();
    }
    BlockPool(const BlockPool &) = delete;
    BlockPool &operator=(const BlockPool &) = delete;

    void submit(Block *block) {
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back(block);
        }
        m_wake.notify_one();
    }

    void wait(const Block &block) {
        std::unique_lock lock(m_mutex);
        m_finished.wait(lock, [&] { return block.done; });
    }

private:
    void work() {
        Deflate deflate(-kWindowBits);
        for (;;) {
            Block *block = nullptr;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
                if (m_queue.empty())
                    return;
                block = m_queue.front();
                m_queue.pop_front();
            }
            const bool ok = deflate.ok() && deflateBlock(deflate.stream(), *block);
            {
                std::lock_guard lock(m_mutex);
                block->failed = !ok;
                block->done = true;
            }
            m_finished.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_finished;
    std::deque<Block *> m_queue;
    bool m_stop = false;
    std::vector<std::thread> m_workers;
};

} // namespace

MemberDeflater::MemberDeflater(int threads, qint64 blockSize)
    : m_threads(threads > 0 ? threads : std::max(1, int(std::thread::hardware_concurrency())))
    , m_blockSize(std::max(blockSize, 2 * kDictionary)) {}

void MemberDeflater::compress(QIODevice &source, qint64 size, QIODevice &out,
                              const QString &name) const {
    if (m_threads > 1 && size > m_blockSize)
        compressParallel(source, size, out, name);
    else
        compressSerial(source, size, out, name);
}

void MemberDeflater::compressSerial(QIODevice &source, qint64 size, QIODevice &out,
                                    const QString &name) const {
    Deflate deflate(kWindowBits);
    if (!deflate.ok())
        zlibFailed(name);
    z_stream &z = deflate.stream();
    QByteArray in;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    qint64 left = size;
    int rc = Z_OK;
    do {
        in.clear();
        if (left > 0)
            readInto(source, std::min(left, kChunk), in, name);
        left -= in.size();
        z.next_in = reinterpret_cast<Bytef *>(in.data());
        z.avail_in = static_cast<uInt>(in.size());
        const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = reinterpret_cast<Bytef *>(buffer.data());
            z.avail_out = static_cast<uInt>(buffer.size());
            rc = ::deflate(&z, flush);
            if (rc == Z_STREAM_ERROR)
                zlibFailed(name);
            writeAll(out, buffer.constData(), buffer.size() - qint64(z.avail_out));
        } while (z.avail_out == 0);
    } while (rc != Z_STREAM_END);
}

void MemberDeflater::compressParallel(QIODevice &source, qint64 size, QIODevice &out,
                                      const QString &name) const {
    // Level 9, 32 KB window, no preset dictionary: the header every level-9 writer makes.
    static const char header[2] = {'\x78', '\xDA'};
    writeAll(out, header, 2);

    // Enough blocks in flight to keep every worker busy while the oldest is written out.
    const size_t inFlight = size_t(m_threads) * 2 + 1;
    std::deque<std::unique_ptr<Block>> pending;
    BlockPool pool(m_threads);
    qint64 read = 0;
    uLong adler = adler32(0, nullptr, 0);
    QByteArray previousTail;
    while (read < size || !pending.empty()) {
        while (read < size && pending.size() < inFlight) {
            auto block = std::make_unique<Block>();
            const qint64 n = std::min(m_blockSize, size - read);
            readInto(source, n, block->input, name);
            read += n;
            block->last = read == size;
            block->dictionary = previousTail;
            previousTail = block->input.right(kDictionary);
            pool.submit(block.get());
            pending.push_back(std::move(block));
        }
        Block &oldest = *pending.front();
        pool.wait(oldest);
        if (oldest.failed)
            zlibFailed(name);
        writeAll(out, oldest.output.constData(), oldest.output.size());
        adler = adler32_combine(adler, oldest.adler, z_off_t(oldest.input.size()));
        pending.pop_front();
    }
    const char trailer[4] = {char(adler >> 24), char(adler >> 16), char(adler >> 8), char(adler)};
    writeAll(out, trailer, 4);
}

} // namespace velmora
