// SPDX-License-Identifier: GPL-3.0-or-later
// A restore that dies for real: restorekiller PROGRAMDIR ARCHIVE STEP restores the archive
// and, at the STEP-th step that changes a file, is killed by the system (SIGKILL), with no
// destructor or handler run on the way out, exactly as a power button or "kill -9" would
// leave things. Exit status 0 when the restore ran through before that step.

#include "backup/datarestore.h"
#include "store/dbf/faultpoint.h"
#include "store/text/error.h"

#include <QString>
#include <csignal>
#include <cstdio>
#include <exception>

int main(int argc, char *argv[]) {
    if (argc != 4) {
        std::fputs("usage: restorekiller PROGRAMDIR ARCHIVE STEP\n", stderr);
        return 2;
    }
    // Nothing catches the simulated kill, so the system ends the process where it is thrown,
    // before any stack is unwound.
    std::set_terminate([] { std::raise(SIGKILL); });
    velmora::FaultPoint::arm(QString::fromLatin1(argv[3]).toInt());
    try {
        velmora::DataRestore::restore(QString::fromLocal8Bit(argv[2]),
                                      QString::fromLocal8Bit(argv[1]));
    } catch (const velmora::Error &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
