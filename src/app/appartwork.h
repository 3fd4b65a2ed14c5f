// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>

namespace velmora {

// The program's icon and the pictures of the main menu's buttons, drawn in code.
class AppArtwork {
public:
    // A trip sheet with a small bus in front of it.
    static QPixmap programIcon(int size = 48);
    // The fill pattern of the splash's progress bar: a 2 x 18 slice of a shaded bar.
    static QPixmap progressPattern();

    static QPixmap records();       // a ledger of lines
    static QPixmap report();        // a bar chart on a sheet
    static QPixmap padlockOpen();   // an open padlock with a key
    static QPixmap padlockClosed(); // a closed padlock
    static QPixmap backup();        // a diskette
    static QPixmap about();         // an "i" in a disc
    static QPixmap exit();          // a door with an arrow
};

} // namespace velmora
