// SPDX-License-Identifier: GPL-3.0-or-later
// A second process for the data lock's tests: takes the lock over DATADIR in MODE (shared,
// exclusive, or restore, which also gives the data set a new identity as a restore does),
// says "held" on standard output and keeps it until its standard input closes or it is
// killed.

#include "store/dbf/datalock.h"
#include "store/text/error.h"

#include <QString>
#include <cstdio>

int main(int argc, char *argv[]) {
    if (argc != 3) {
        std::fputs("usage: lockholder DATADIR shared|exclusive|restore\n", stderr);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QString mode = QString::fromLatin1(argv[2]);
    try {
        velmora::DataLock lock(
            dir, mode == QStringLiteral("exclusive") ? velmora::DataLock::Mode::Exclusive
                 : mode == QStringLiteral("restore") ? velmora::DataLock::Mode::Restore
                                                     : velmora::DataLock::Mode::Shared);
        if (mode == QStringLiteral("restore"))
            lock.renewDataSet();
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
