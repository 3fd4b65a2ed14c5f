// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>

namespace velmora {

// The pictures of the records window's buttons, drawn in code.
class RecordsArtwork {
public:
    enum class Action { Add, Change, Delete };
    // A sheet of paper with a green plus, a pencil or a red cross.
    static QPixmap sheet(Action action, int size = 24);
    // An arrow (departure or arrival) with the same marks.
    static QPixmap trip(Action action, int size = 24);
    static QPixmap printer(int size = 24);
};

} // namespace velmora
