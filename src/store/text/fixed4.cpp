// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/fixed4.h"

#include <cmath>

namespace velmora {

std::optional<Fixed4> Fixed4::fromDouble(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    // nearbyint rounds halves to even in the default rounding mode.
    const double scaled = std::nearbyint(value * kScale);
    if (std::fabs(scaled) >= 9.2e18)
        return std::nullopt;
    return fromUnits(static_cast<qint64>(scaled));
}

std::optional<Fixed4> Fixed4::parse(QStringView text) {
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 whole = 0;
    int digits = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i, ++digits) {
        if (whole > 92233720368546LL)
            return std::nullopt;
        whole = whole * 10 + (text[i].unicode() - u'0');
    }
    qint64 fraction = 0;
    int fractionDigits = 0;
    bool restAboveHalf = false;
    int roundDigit = -1;
    if (i < text.size() && text[i] == u'.') {
        for (++i; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i, ++digits) {
            const int d = text[i].unicode() - u'0';
            if (fractionDigits < 4) {
                fraction = fraction * 10 + d;
                ++fractionDigits;
            } else if (roundDigit < 0) {
                roundDigit = d;
            } else if (d != 0) {
                restAboveHalf = true;
            }
        }
    }
    if (digits == 0 || i != text.size())
        return std::nullopt;
    for (; fractionDigits < 4; ++fractionDigits)
        fraction *= 10;
    qint64 units = whole * kScale + fraction;
    if (roundDigit > 5 || (roundDigit == 5 && (restAboveHalf || (units & 1))))
        ++units;
    return fromUnits(negative ? -units : units);
}

QString Fixed4::toString() const {
    const bool negative = m_units < 0;
    // Work on the magnitude without overflowing at the type's minimum.
    const quint64 magnitude = negative ? 0 - static_cast<quint64>(m_units) : m_units;
    QString text = QString::number(magnitude / kScale);
    quint64 fraction = magnitude % kScale;
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(4, u'0');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += u'.' + digits;
    }
    return negative ? u'-' + text : text;
}

} // namespace velmora
