// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of a backup and a restore of a generated year (about 40 MB of tables), side by side
// with plain zlib on the same bytes: compress2 at level 9 on one thread, and uncompress
// followed by writing the file. Run the Release build (preset "bench"):
//   build/bench/bin/velmora-backup-bench
// Wall-clock times: the backup's compression runs on every processor.

#include "benchdata.h"

#include "backup/archiveformat.h"
#include "backup/datarestore.h"
#include "backup/datasnapshot.h"
#include "backup/memberdeflater.h"
#include "store/dbf/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <benchmark/benchmark.h>
#include <zlib.h>

using namespace velmora;

namespace {

QString archivePath() {
    return BenchData::programDir() + QStringLiteral("-archive.vmr");
}

qint64 dataBytes(const QStringList &files) {
    qint64 total = 0;
    for (const QString &file : files)
        total += QFileInfo(file).size();
    return total;
}

QByteArray wholeFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void writeFile(const QString &path, const char *data, qint64 size, bool sync) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data, size) != size)
        qFatal("cannot write %s", qPrintable(path));
    if (sync && !Platform::syncFile(file))
        qFatal("cannot sync %s", qPrintable(path));
}

void setBytes(benchmark::State &state, qint64 bytes) {
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["MB"] = double(bytes) / 1e6;
}

// Plain zlib: each file read whole and compressed with compress2 at level 9, one thread.
void BM_Compress2Level9(benchmark::State &state) {
    const QStringList files = ArchiveFormat::listFileDir(BenchData::programDir());
    const QString out = BenchData::programDir() + QStringLiteral("-plain.z");
    for (auto _ : state) {
        QFile archive(out);
        if (!archive.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(out));
        for (const QString &file : files) {
            const QByteArray input = wholeFile(file);
            uLongf size = compressBound(uLong(input.size()));
            QByteArray output(qsizetype(size), Qt::Uninitialized);
            compress2(reinterpret_cast<Bytef *>(output.data()), &size,
                      reinterpret_cast<const Bytef *>(input.constData()), uLong(input.size()), 9);
            archive.write(output.constData(), qint64(size));
        }
    }
    setBytes(state, dataBytes(files));
}

// The program's save: snapshot of Data, members compressed in parallel blocks, archive written
// beside and renamed. Arguments: threads (0: one per processor), block size in KB.
void BM_Backup(benchmark::State &state) {
    const QString programDir = BenchData::programDir();
    const MemberDeflater deflater(int(state.range(0)), state.range(1) * 1024);
    for (auto _ : state) {
        const DataSnapshot snapshot(programDir);
        QSaveFile archive(archivePath());
        if (!archive.open(QIODevice::WriteOnly))
            qFatal("cannot write the archive");
        ArchiveFormat::compressFiles(snapshot.files(), archive, deflater);
        archive.commit();
    }
    state.counters["threads"] = deflater.threads();
    setBytes(state, dataBytes(ArchiveFormat::listFileDir(programDir)));
}

// Plain zlib: each member's stream inflated with uncompress2 into memory, then written.
// Argument 1: each file pushed to the disk after it is written, as a restore must.
void BM_UncompressAndWrite(benchmark::State &state) {
    const QString programDir = BenchData::programDir();
    DataSnapshot::save(programDir, archivePath());
    const QByteArray archive = wholeFile(archivePath());
    const QString target = BenchData::programDir() + QStringLiteral("-plain");
    QDir().mkpath(target);
    qint64 total = 0;
    for (auto _ : state) {
        total = 0;
        qsizetype at = 4;
        const auto int32 = [&](qsizetype offset) {
            quint32 v = 0;
            for (int i = 3; i >= 0; --i)
                v = v << 8 | quint8(archive[offset + i]);
            return qint32(v);
        };
        const qint32 count = int32(0);
        for (qint32 i = 0; i < count; ++i) {
            const qint32 length = int32(at);
            const QString name = QString::fromLatin1(archive.mid(at + 4 + 5, length - 5));
            at += 4 + length;
            const qint32 size = int32(at);
            at += 4;
            QByteArray output(size, Qt::Uninitialized);
            uLongf produced = uLongf(size);
            uLong consumed = uLong(archive.size() - at);
            if (uncompress2(reinterpret_cast<Bytef *>(output.data()), &produced,
                            reinterpret_cast<const Bytef *>(archive.constData() + at),
                            &consumed) != Z_OK)
                qFatal("uncompress2 failed");
            at += qsizetype(consumed);
            writeFile(target + u'/' + name, output.constData(), qint64(produced),
                      state.range(0) != 0);
            total += qint64(produced);
        }
    }
    setBytes(state, total);
}

// The program's restore: the whole archive checked into a staging directory, then moved in.
// Argument 0: without pushing the files to the disk (what the plain version does not do).
void BM_Restore(benchmark::State &state) {
    const QString programDir = BenchData::programDir();
    Platform::setSyncEnabled(state.range(0) != 0);
    DataSnapshot::save(programDir, archivePath());
    const QString target = BenchData::programDir() + QStringLiteral("-restored");
    qint64 total = 0;
    for (auto _ : state) {
        total = 0;
        for (const ArchiveFormat::Member &member : DataRestore::restore(archivePath(), target))
            total += member.size;
    }
    Platform::setSyncEnabled(true);
    setBytes(state, total);
}

} // namespace

BENCHMARK(BM_Compress2Level9)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_Backup)
    ->Args({1, 256})
    ->Args({0, 64})
    ->Args({0, 256})
    ->Args({0, 1024})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_UncompressAndWrite)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_Restore)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    BenchData::programDir();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
