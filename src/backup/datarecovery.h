// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// What a killed backup or restore left beside Data, dealt with before anything else touches
// Data: a restore whose journal is in Data is finished, or undone when it cannot be; the work
// folders no living process holds are removed (a backup's copies, a restore's unpacked
// archive), except a folder of old files that no journal names, which is kept and pointed
// out. The program's start, every command of the tool on a program directory, a backup and a
// restore call it first.
class DataRecovery {
public:
    // What was done, one sentence per item, for the user; empty when there was nothing to do,
    // which costs a look at two directories. Waits for Data's lock only when a journal is
    // there; otherwise, with another program busy on Data, leaves the folders for next time.
    // A FileError when an interrupted restore cannot be finished nor undone.
    static QStringList recover(const QString &programDir);
};

} // namespace velmora
