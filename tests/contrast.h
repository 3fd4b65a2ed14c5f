// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QRect>
#include <algorithm>
#include <cmath>

// How well one colour reads on another, as the contrast ratio of the accessibility
// guidelines: 1 for the same colour, 21 for black on white; 4.5 reads as normal text.
namespace contrast {

inline double luminance(const QColor &color) {
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
           0.0722 * channel(color.blueF());
}

inline double ratio(const QColor &a, const QColor &b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour that covers most of the area: the ground that a text or a mark stands on.
inline QColor ground(const QImage &image, const QRect &area) {
    QHash<QRgb, int> count;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++count[image.pixel(x, y) & 0xFFFFFF];
    QRgb best = 0;
    int most = -1;
    for (auto it = count.cbegin(); it != count.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    }
    return QColor(best);
}

// The strongest contrast that any pixel of the area makes with the area's ground: for a
// caption, how its glyphs read.
inline double strongest(const QImage &image, const QRect &area) {
    const QColor base = ground(image, area);
    double best = 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            best = std::max(best, ratio(base, QColor(image.pixel(x, y))));
    return best;
}

} // namespace contrast
