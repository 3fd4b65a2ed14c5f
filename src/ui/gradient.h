// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRect>

class QPainter;

namespace velmora {

// Backgrounds shaded in a fixed number of solid stripes, the look of the program's bands and
// panels: the stripes stay visible, so the count is part of the look.
class Gradient {
public:
    // LeftToRight: the colour changes along the width (vertical stripes);
    // TopToBottom: along the height (horizontal stripes).
    enum class Direction { LeftToRight, TopToBottom };

    // `first` at the left (top) edge, `last` at the right (bottom) edge.
    static void paint(QPainter &painter, const QRect &rect, const QColor &first, const QColor &last,
                      Direction direction, int stripes);
    // `middle` along the centre line, `edges` at both edges.
    static void paintFromMiddle(QPainter &painter, const QRect &rect, const QColor &middle,
                                const QColor &edges, Direction direction, int stripes);

    // `a` at t = 0, `b` at t = 1.
    static QColor mix(const QColor &a, const QColor &b, double t);
};

} // namespace velmora
