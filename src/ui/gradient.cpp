// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/gradient.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// Stripe i of n covers [i*length/n, (i+1)*length/n), so the stripes tile the length exactly.
template <typename ColourOf>
void paintStripes(QPainter &painter, const QRect &rect, Gradient::Direction direction, int stripes,
                  ColourOf colourOf) {
    if (rect.isEmpty())
        return;
    const bool across = direction == Gradient::Direction::LeftToRight;
    const int length = across ? rect.width() : rect.height();
    const int n = std::clamp(stripes, 1, std::max(1, length));
    for (int i = 0; i < n; ++i) {
        const int from = static_cast<int>(static_cast<qint64>(i) * length / n);
        const int to = static_cast<int>(static_cast<qint64>(i + 1) * length / n);
        if (to <= from)
            continue;
        const QRect stripe = across
                                 ? QRect(rect.left() + from, rect.top(), to - from, rect.height())
                                 : QRect(rect.left(), rect.top() + from, rect.width(), to - from);
        painter.fillRect(stripe, colourOf(i, n));
    }
}

} // namespace

QColor Gradient::mix(const QColor &a, const QColor &b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    const auto channel = [t](int x, int y) {
        return static_cast<int>(std::lround(x + (y - x) * t));
    };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()));
}

void Gradient::paint(QPainter &painter, const QRect &rect, const QColor &first, const QColor &last,
                     Direction direction, int stripes) {
    paintStripes(painter, rect, direction, stripes, [&](int i, int n) {
        return mix(first, last, n == 1 ? 0.0 : static_cast<double>(i) / (n - 1));
    });
}

void Gradient::paintFromMiddle(QPainter &painter, const QRect &rect, const QColor &middle,
                               const QColor &edges, Direction direction, int stripes) {
    paintStripes(painter, rect, direction, stripes, [&](int i, int n) {
        if (n == 1)
            return middle;
        const double half = (n - 1) / 2.0;
        return mix(middle, edges, std::abs(i - half) / half);
    });
}

} // namespace velmora
