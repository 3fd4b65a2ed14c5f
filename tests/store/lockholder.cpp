// SPDX-License-Identifier: GPL-3.0-or-later
// A second process for the data lock's tests: takes the lock over DATADIR in MODE (shared or
// exclusive), says "held" on standard output and keeps it until its standard input closes
// or it is killed.

#include "store/dbf/datalock.h"
#include "store/text/error.h"

#include <QString>
#include <cstdio>

int main(int argc, char *argv[]) {
    if (argc != 3) {
        std::fputs("usage: lockholder DATADIR shared|exclusive\n", stderr);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const bool exclusive = QString::fromLatin1(argv[2]) == QStringLiteral("exclusive");
    try {
        const velmora::DataLock lock(dir, exclusive ? velmora::DataLock::Mode::Exclusive
                                                    : velmora::DataLock::Mode::Shared);
        std::puts("held");
        std::fflush(stdout);
        while (std::fgetc(stdin) != EOF) {
        }
    } catch (const velmora::Error &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
