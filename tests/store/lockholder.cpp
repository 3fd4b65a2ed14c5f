// SPDX-License-Identifier: GPL-3.0-or-later
// A second process for the data lock's tests: takes the lock over DATADIR in MODE (shared,
// exclusive, or restore, which also gives the data set a new identity as a restore does),
// says "held" on standard output and keeps it until its standard input closes or it is
// killed. With WAIT (milliseconds) it waits that long for a lock held elsewhere; one it does
// not get ends it with status 1 and the lock's message on standard error, so that a test
// learns the outcome from the process instead of guessing it from a delay.

#include "store/dbf/datalock.h"
#include "store/text/error.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[]) {
    if (argc != 3 && argc != 4) {
        std::fputs("usage: lockholder DATADIR shared|exclusive|restore [WAIT]\n", stderr);
        return 2;
    }
    if (argc == 4)
        velmora::DataLock::setWaitMilliseconds(std::atoi(argv[3]));
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
