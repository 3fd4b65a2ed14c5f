// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/hintplacement.h"

#include <algorithm>

namespace velmora {

std::array<QSize, 4> HintPlacement::rooms(const QRect &control, const QRect &screen,
                                          int pointerHeight) {
    const int left = control.left() - screen.left();
    const int right = screen.right() - control.right();
    const int up = control.top() - screen.top() - pointerHeight - kMargin;
    const int down = screen.bottom() - control.bottom() - pointerHeight - kMargin;
    const auto room = [](int w, int h) {
        return QSize(std::max(0, w), std::max(0, h));
    };
    return {room(left, up), room(right, up), room(left, down), room(right, down)};
}

HintPlacement::Corner HintPlacement::largestRoom(const std::array<QSize, 4> &rooms) {
    int best = 0;
    for (int i = 1; i < 4; ++i) {
        const qint64 area = static_cast<qint64>(rooms[i].width()) * rooms[i].height();
        const qint64 bestArea = static_cast<qint64>(rooms[best].width()) * rooms[best].height();
        if (area > bestArea)
            best = i;
    }
    return static_cast<Corner>(best);
}

HintPlacement::Corner HintPlacement::choose(const QRect &control, const QRect &screen,
                                            const QSize &contentSize, int pointerHeight) {
    const std::array<QSize, 4> room = rooms(control, screen, pointerHeight);
    // The content never asks for more than the largest room offers.
    const QSize largest = room[largestRoom(room)];
    const QSize content = contentSize.boundedTo(largest);
    for (int i = 0; i < 4; ++i) {
        if (content.width() <= room[i].width() && content.height() <= room[i].height())
            return static_cast<Corner>(i);
    }
    return largestRoom(room);
}

int HintPlacement::fitWidth(const QSize &room, int preferredWidth, int step, int minWidth,
                            const std::function<QSize(int)> &contentAt) {
    int width = preferredWidth;
    while (width - step >= minWidth && contentAt(width).width() > room.width())
        width -= step;
    return width;
}

QPoint HintPlacement::tip(Corner corner, const QRect &control) {
    switch (corner) {
    case TopLeft:
        return control.topLeft();
    case TopRight:
        return control.topRight();
    case BottomLeft:
        return control.bottomLeft();
    case BottomRight:
        return control.bottomRight();
    }
    return control.topLeft();
}

QRect HintPlacement::balloonRect(Corner corner, const QRect &control, const QSize &body,
                                 const QSize &pointer, int pointerOffset) {
    const QPoint point = tip(corner, control);
    const int height = body.height() + pointer.height();
    // A balloon to the left of the corner has its pointer near its right side, and so on.
    const bool leftward = corner == TopLeft || corner == BottomLeft;
    const int left =
        leftward ? point.x() + pointerOffset - body.width() + 1 : point.x() - pointerOffset;
    const int top = above(corner) ? point.y() - height : point.y() + 1;
    return QRect(left, top, body.width(), height);
}

} // namespace velmora
