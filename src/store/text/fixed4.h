// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <compare>
#include <optional>

namespace velmora {

// A fixed-point number with four decimals, held as ten-thousandths: the type of entered
// amounts and of values that are rounded "to 4 decimals, halves to even".
class Fixed4 {
public:
    static constexpr qint64 kScale = 10000;

    constexpr Fixed4() = default;
    static constexpr Fixed4 fromUnits(qint64 units) {
        Fixed4 f;
        f.m_units = units;
        return f;
    }
    // Rounded to the nearest ten-thousandth, halves to the even neighbour. Values beyond
    // the type's range or not finite give nullopt.
    static std::optional<Fixed4> fromDouble(double value);
    // Decimal text with "." as separator, optional blanks around and an optional sign;
    // more than four decimals are rounded half to even. nullopt when it is not a number.
    static std::optional<Fixed4> parse(QStringView text);

    constexpr qint64 units() const { return m_units; }
    double toDouble() const { return static_cast<double>(m_units) / kScale; }
    // Shortest form: no trailing zeros, no point when whole, "." as separator.
    QString toString() const;

    friend constexpr auto operator<=>(Fixed4, Fixed4) = default;

private:
    qint64 m_units = 0;
};

} // namespace velmora
