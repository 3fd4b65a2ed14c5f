// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>
#include <array>
#include <functional>

namespace velmora {

// Where a field hint goes around its control, worked out from rectangles alone.
// The balloon's pointer touches one of the control's corners and the balloon lies on the far
// side of that corner; the corners are tried in the order of Corner.
class HintPlacement {
public:
    enum Corner { TopLeft = 0, TopRight = 1, BottomLeft = 2, BottomRight = 3 };

    static constexpr int kMargin = 10;

    // The room beside each corner: from the control's edges to the screen's edges, vertically
    // less the pointer's height and the margin. Never negative.
    static std::array<QSize, 4> rooms(const QRect &control, const QRect &screen, int pointerHeight);
    // The room with the largest area (the first of equals).
    static Corner largestRoom(const std::array<QSize, 4> &rooms);
    // The first corner whose room holds the content, else the one with the largest room.
    static Corner choose(const QRect &control, const QRect &screen, const QSize &contentSize,
                         int pointerHeight);

    // The content width to lay the balloon out at: the preferred width, narrowed in steps
    // while the content at that width is wider than the room allows, never below minWidth.
    // contentAt gives the content's size at a width.
    static int fitWidth(const QSize &room, int preferredWidth, int step, int minWidth,
                        const std::function<QSize(int width)> &contentAt);

    // The balloon window (body plus pointer) for a corner: the pointer's tip on the corner,
    // the pointer pointerOffset from the body's near side, the body above or below.
    static QRect balloonRect(Corner corner, const QRect &control, const QSize &body,
                             const QSize &pointer, int pointerOffset);
    // The point of the control the pointer touches.
    static QPoint tip(Corner corner, const QRect &control);
    static bool above(Corner corner) { return corner == TopLeft || corner == TopRight; }
};

} // namespace velmora
