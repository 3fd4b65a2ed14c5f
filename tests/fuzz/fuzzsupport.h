// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every fuzz target shares: the libFuzzer entry point's signature, a scratch directory
// that lives as long as the process, and the check that stops the run on a broken invariant.

#include "store/dbf/platform.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace velmora::fuzz {

inline QByteArray bytes(const uint8_t *data, size_t size) {
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// An empty directory for this input: files of the previous one are gone. The disk syncs of
// the writes are left out: a power cut is not what a fuzzer looks for, and each would cost a
// thousand inputs.
inline QString scratchDir() {
    static const bool unsynced = (Platform::setSyncEnabled(false), true);
    Q_UNUSED(unsynced);
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/velmora-fuzz-XXXXXX"));
    const QString path = dir.path() + QStringLiteral("/work");
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

inline void writeFile(const QString &path, const QByteArray &content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size())
        std::abort();
}

// A broken invariant is a finding: print what broke and stop, so the fuzzer keeps the input.
#define VELMORA_FUZZ_CHECK(condition, what)                                                        \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "invariant broken: %s\n", qPrintable(QString(what)));             \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

} // namespace velmora::fuzz
