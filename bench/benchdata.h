// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The benchmark's data: a year of sheets generated once into a cache directory and reused by
// later runs, plus a scratch copy that the writing benchmarks may change.
class BenchData {
public:
    static constexpr int kSheets = 100000;
    static constexpr int kLinesPerSheet = 3;

    // The program directory holding the generated data (VELMORA_BENCH_DIR, or one under the
    // system's temporary directory).
    static QString programDir();
    // A fresh copy of it for benchmarks that write.
    static QString scratchProgramDir();

    static QString sheets(const QString &programDir);
    static QString lines(const QString &programDir);
};
