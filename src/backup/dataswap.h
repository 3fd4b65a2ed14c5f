// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "backup/restorejournal.h"

#include <QString>

namespace velmora {

class WorkFolder;

// The moves of a restore, carried out from wherever they stopped: forward, Data's files go
// into the aside folder and then the archive's come from the staging folder; back, the other
// way round. Every move is a rename on one disk that passes a fault point, and every step can
// be run again after a kill: the journal's phase says which files Data may hold, so what is
// left to move is read from where the files are.
class DataSwap {
public:
    struct Outcome {
        RestoreJournal::Direction direction = RestoreJournal::Direction::Forward;
        // Why it turned back, when it did.
        QString reason;
    };

    // Only while Data's lock is held in Restore mode, with the journal on disk. Goes the
    // journal's way; should a move forward fail, or a file of the archive be missing, turns
    // back, saying so in the journal first. Ends with the journal removed and both folders
    // gone. When even going back fails, a FileError says where the files are, and the journal
    // stays, so that Data is used by no one until they are back.
    static Outcome carryOut(const QString &programDir, RestoreJournal journal, WorkFolder &staging,
                            WorkFolder &aside);
};

} // namespace velmora
