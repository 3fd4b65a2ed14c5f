// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <QtNumeric>
#include <compare>
#include <optional>

namespace velmora {

// An exact decimal number: a 64-bit count of units and a scale, the value being
// units / 10^scale. It is the type of every value of a numeric column, so that sums of money
// and stored amounts are exact to the cent. It holds up to 18 significant digits and up to
// 18 decimals; every operation that would need more gives nullopt instead of a rounded
// value, and the caller refuses the statement.
//
// A negative scale stands for tens that are not held as units; only numbers read from other
// programs' files, too long to be held exactly, have one.
//
// Values keep the scale they were read with (150.50 from a two-decimal field is 15050 at
// scale 2), so that the values of one column share a scale and compare without rescaling.
// Equality and order are by value: 1.5 == 1.50.
class Decimal {
public:
    static constexpr int kMaxDigits = 18;
    static constexpr int kMaxScale = 18;

    constexpr Decimal() = default;
    static constexpr Decimal fromUnits(qint64 units, int scale = 0) {
        Decimal d;
        d.m_units = units;
        d.m_scale = static_cast<qint8>(scale);
        return d;
    }
    // Decimal text with "." as separator, optional blanks around, an optional sign and an
    // optional exponent (e or E). nullopt when it is not a number, and also when it is one
    // that needs more than 18 significant digits or 18 decimals; *tooLong tells these apart.
    static std::optional<Decimal> parse(QStringView text, bool *tooLong = nullptr);
    // The same over bytes, without blanks around; for reading fields. Inline for the plain
    // decimals that fields hold, since a scan reads one per record.
    static std::optional<Decimal> parse(const char *begin, const char *end,
                                        bool *tooLong = nullptr) {
        const char *p = begin;
        const bool negative = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+'))
            ++p;
        qint64 m = 0;
        int significant = 0;
        int scale = 0;
        bool point = false;
        bool digit = false;
        for (; p < end; ++p) {
            const char c = *p;
            if (c >= '0' && c <= '9') {
                digit = true;
                const int d = c - '0';
                if (m != 0 || d != 0) {
                    if (significant == kMaxDigits)
                        break;
                    ++significant;
                }
                m = m * 10 + d;
                scale += point;
            } else if (c == '.' && !point) {
                point = true;
            } else {
                break;
            }
        }
        if (p != end || !digit || scale > kMaxScale)
            return parseInFull(begin, end, tooLong);
        if (tooLong)
            *tooLong = false;
        return fromUnits(negative ? -m : m, scale);
    }
    // The decimal a double stands for when written with 15 significant digits (the general
    // form), which is the value a binary number was meant to have. nullopt when not finite
    // or too large.
    static std::optional<Decimal> fromDouble(double value);

    constexpr qint64 units() const { return m_units; }
    constexpr int scale() const { return m_scale; }
    bool isZero() const { return m_units == 0; }
    double toDouble() const;
    // Digits before the point, 0 for values below one.
    int integerDigits() const;
    // Digits from the first to the last non-zero one; 0 for zero.
    int significantDigits() const;
    // The same value with the trailing zeros of its decimals dropped: 1.50 gives 1.5.
    Decimal normalized() const;

    // Rounded (half to even) or widened to the given number of decimals.
    std::optional<Decimal> rescaled(int scale) const;
    // Checked arithmetic: nullopt where the result does not fit.
    static std::optional<Decimal> add(Decimal a, Decimal b) {
        qint64 sum = 0;
        if (a.m_scale == b.m_scale && !qAddOverflow(a.m_units, b.m_units, &sum))
            return fromUnits(sum, a.m_scale);
        return addScaled(a, b);
    }
    static std::optional<Decimal> subtract(Decimal a, Decimal b);
    static std::optional<Decimal> multiply(Decimal a, Decimal b);
    // As many decimals as fit, up to 18, the last rounded half to even. b must not be zero.
    static std::optional<Decimal> divide(Decimal a, Decimal b);
    // The exact quotient rounded once, half to even, to exactly scale decimals (0 to 18): a
    // quotient first cut to 18 digits and then rounded again could land on a half that the
    // exact one is not. nullopt when b is zero or the quotient does not fit.
    static std::optional<Decimal> divide(Decimal a, Decimal b, int scale);
    std::optional<Decimal> negated() const;

    // -1, 0 or 1, by value, whatever the scales.
    static int compare(Decimal a, Decimal b) {
        if (a.m_scale == b.m_scale)
            return a.m_units < b.m_units ? -1 : (a.m_units > b.m_units ? 1 : 0);
        return compareScaled(a, b);
    }
    friend bool operator==(Decimal a, Decimal b) { return compare(a, b) == 0; }
    friend std::strong_ordering operator<=>(Decimal a, Decimal b) { return compare(a, b) <=> 0; }

    // The value as floor(value) and the decimals scaled to 18 digits (0 to 10^18 - 1): two
    // numbers whose order, high one first, is the order of the values.
    struct Parts {
        qint64 whole = 0;
        quint64 fraction = 0;
    };
    Parts split() const;

    // Shortest form: no trailing zeros, no point when whole, "." as separator, every digit.
    QString toString() const;
    void appendTo(QByteArray &out) const;
    // Exactly scale decimals: 150.50 at scale 2. No "-" before a zero.
    void appendFixed(QByteArray &out) const;

    // Computed values of a result (sums, counts) are held in this binary form of kStoredSize
    // bytes; a NULL is a form of its own.
    static constexpr int kStoredSize = 9;
    void store(char *out) const;
    static void storeNull(char *out);
    static std::optional<Decimal> load(const char *in);

private:
    static std::optional<Decimal> parseInFull(const char *begin, const char *end, bool *tooLong);
    static std::optional<Decimal> addScaled(Decimal a, Decimal b);
    static int compareScaled(Decimal a, Decimal b);

    qint64 m_units = 0;
    qint8 m_scale = 0;
};

} // namespace velmora
