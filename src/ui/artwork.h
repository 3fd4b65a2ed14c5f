// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>

namespace velmora {

// The small pictures of the message dialog and the field hint, drawn in code so that they
// scale cleanly and need no resource files.
class Artwork {
public:
    // Yellow warning triangle with a black "!" on a dark olive ground.
    static QPixmap warning(int size = 32);
    // White speech bubble with a dark blue "i" on a blue ground.
    static QPixmap information(int size = 32);
    // White speech bubble with a dark blue "?" on a blue ground.
    static QPixmap question(int size = 32);
    // Red disc with a white "X", transparent around the disc.
    static QPixmap error(int size = 32);
};

} // namespace velmora
