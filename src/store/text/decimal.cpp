// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/decimal.h"

#include <QtNumeric>
#include <cmath>
#include <cstring>
#include <limits>

namespace velmora {

namespace {

constexpr qint64 kPow10[] = {1LL,
                             10LL,
                             100LL,
                             1000LL,
                             10000LL,
                             100000LL,
                             1000000LL,
                             10000000LL,
                             100000000LL,
                             1000000000LL,
                             10000000000LL,
                             100000000000LL,
                             1000000000000LL,
                             10000000000000LL,
                             100000000000000LL,
                             1000000000000000LL,
                             10000000000000000LL,
                             100000000000000000LL,
                             1000000000000000000LL};

constexpr double kPow10Double[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                   1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};

quint64 magnitude(qint64 v) {
    return v < 0 ? 0 - static_cast<quint64>(v) : static_cast<quint64>(v);
}

int digitCount(quint64 v) {
    int n = 0;
    while (v != 0) {
        v /= 10;
        ++n;
    }
    return n;
}

// units / 10^shift, halves to the even neighbour.
qint64 roundedDown(qint64 units, int shift) {
    if (shift == 0)
        return units;
    const qint64 p = kPow10[shift];
    qint64 q = units / p;
    const quint64 twice = magnitude(units % p) * 2;
    const quint64 half = static_cast<quint64>(p);
    if (twice > half || (twice == half && (q & 1) != 0))
        q += units < 0 ? -1 : 1;
    return q;
}

bool widened(qint64 units, int shift, qint64 &out) {
    if (shift > Decimal::kMaxScale) {
        out = 0;
        return units == 0;
    }
    return !qMulOverflow(units, kPow10[shift], &out);
}

constexpr qint8 kNullMark = -128;
// Tens beyond the units, for numbers of other programs' files only.
constexpr int kMinScale = -100;

} // namespace

std::optional<Decimal> Decimal::parseInFull(const char *p, const char *end, bool *tooLong) {
    if (tooLong)
        *tooLong = false;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    qint64 m = 0;
    int digits = 0;          // of m
    int scale = 0;           // every decimal read, zeros not yet applied included
    int pendingZeros = 0;    // read but not yet applied to m
    int pendingDecimals = 0; // of those, the ones after the point
    bool anyDigit = false;
    bool point = false;
    bool overflow = false;
    for (; p < end; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            if (point)
                ++scale;
            if (c == '0') {
                ++pendingZeros;
                if (point)
                    ++pendingDecimals;
                continue;
            }
            const int d = c - '0';
            if (m == 0) {
                m = d;
                digits = 1;
            } else if (digits + pendingZeros + 1 > kMaxDigits) {
                overflow = true;
            } else {
                m = m * kPow10[pendingZeros + 1] + d;
                digits += pendingZeros + 1;
            }
            pendingZeros = 0;
            pendingDecimals = 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    // Zeros ending the whole part count; zeros ending the decimals are kept when they fit.
    const int wholeZeros = pendingZeros - pendingDecimals;
    if (m != 0 && wholeZeros > 0) {
        if (digits + wholeZeros > kMaxDigits)
            overflow = true;
        else
            m *= kPow10[wholeZeros];
        digits += wholeZeros;
    }
    scale -= pendingDecimals;

    int exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool negativeExponent = false;
        if (p < end && (*p == '-' || *p == '+')) {
            negativeExponent = *p == '-';
            ++p;
        }
        if (p == end)
            return std::nullopt;
        for (; p < end && *p >= '0' && *p <= '9'; ++p)
            exponent = qMin(exponent * 10 + (*p - '0'), 10000);
        if (negativeExponent)
            exponent = -exponent;
    }
    if (p != end)
        return std::nullopt;

    auto refused = [&]() -> std::optional<Decimal> {
        if (tooLong)
            *tooLong = true;
        return std::nullopt;
    };
    if (overflow)
        return refused();
    if (m == 0)
        return fromUnits(0, qBound(0, scale + pendingDecimals - exponent, kMaxScale));
    scale -= exponent;
    if (scale < 0) {
        // A large exponent keeps its tens as a negative scale when they are not all held.
        if (digits - scale <= kMaxDigits) {
            m *= kPow10[-scale];
            digits -= scale;
            scale = 0;
        } else if (scale < kMinScale) {
            return refused();
        }
    }
    if (exponent == 0 && pendingDecimals > 0 && digits + pendingDecimals <= kMaxDigits &&
        scale + pendingDecimals <= kMaxScale) {
        m *= kPow10[pendingDecimals];
        scale += pendingDecimals;
    }
    if (scale > kMaxScale)
        return refused();
    return fromUnits(negative ? -m : m, scale);
}

std::optional<Decimal> Decimal::parse(QStringView text, bool *tooLong) {
    if (tooLong)
        *tooLong = false;
    text = text.trimmed();
    QByteArray latin;
    latin.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() >= 128)
            return std::nullopt;
        latin.append(static_cast<char>(c.unicode()));
    }
    return parse(latin.constData(), latin.constData() + latin.size(), tooLong);
}

std::optional<Decimal> Decimal::fromDouble(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const QByteArray text = QByteArray::number(value, 'g', 15);
    return parse(text.constData(), text.constData() + text.size());
}

double Decimal::toDouble() const {
    if (m_scale < 0)
        return static_cast<double>(m_units) * std::pow(10.0, -m_scale);
    return static_cast<double>(m_units) / kPow10Double[m_scale];
}

int Decimal::integerDigits() const {
    if (m_scale < 0)
        return m_units == 0 ? 0 : digitCount(magnitude(m_units)) - m_scale;
    return digitCount(magnitude(m_units) / static_cast<quint64>(kPow10[m_scale]));
}

int Decimal::significantDigits() const {
    return digitCount(magnitude(normalized().m_units));
}

Decimal Decimal::normalized() const {
    Decimal d = *this;
    while (d.m_scale > 0 && d.m_units % 10 == 0) {
        d.m_units /= 10;
        --d.m_scale;
    }
    if (d.m_units == 0)
        d.m_scale = 0;
    return d;
}

std::optional<Decimal> Decimal::rescaled(int scale) const {
    if (scale < 0 || scale > kMaxScale)
        return std::nullopt;
    if (scale <= m_scale)
        return fromUnits(roundedDown(m_units, m_scale - scale), scale);
    qint64 units = 0;
    if (!widened(m_units, scale - m_scale, units))
        return std::nullopt;
    return fromUnits(units, scale);
}

std::optional<Decimal> Decimal::addScaled(Decimal a, Decimal b) {
    qint64 sum = 0;
    const int scale = qMax(a.m_scale, b.m_scale);
    const auto wa = a.rescaled(scale);
    const auto wb = b.rescaled(scale);
    if (!wa || !wb || qAddOverflow(wa->m_units, wb->m_units, &sum))
        return std::nullopt;
    return fromUnits(sum, scale);
}

std::optional<Decimal> Decimal::subtract(Decimal a, Decimal b) {
    const auto nb = b.negated();
    return nb ? add(a, *nb) : std::nullopt;
}

std::optional<Decimal> Decimal::negated() const {
    if (m_units == std::numeric_limits<qint64>::min())
        return std::nullopt;
    return fromUnits(-m_units, m_scale);
}

std::optional<Decimal> Decimal::multiply(Decimal a, Decimal b) {
    qint64 product = 0;
    if (qMulOverflow(a.m_units, b.m_units, &product)) {
        a = a.normalized();
        b = b.normalized();
        if (qMulOverflow(a.m_units, b.m_units, &product))
            return std::nullopt;
    }
    const int scale = a.m_scale + b.m_scale;
    if (scale < kMinScale)
        return std::nullopt;
    if (scale > kMaxScale)
        return fromUnits(roundedDown(product, scale - kMaxScale), kMaxScale);
    return fromUnits(product, scale);
}

std::optional<Decimal> Decimal::divide(Decimal a, Decimal b) {
    if (b.m_units == 0)
        return std::nullopt;
    a = a.normalized();
    b = b.normalized();
    // The most decimals whose scaled numerator still fits.
    for (int target = kMaxScale; target >= 0; --target) {
        const int shift = target - a.m_scale + b.m_scale;
        qint64 numerator = a.m_units;
        qint64 denominator = b.m_units;
        if (shift > kMaxScale || -shift > kMaxScale)
            continue;
        if (shift >= 0 ? !widened(numerator, shift, numerator)
                       : !widened(denominator, -shift, denominator))
            continue;
        qint64 q = numerator / denominator;
        const quint64 twice = magnitude(numerator % denominator) * 2;
        const quint64 den = magnitude(denominator);
        if (twice > den || (twice == den && (q & 1) != 0))
            q += (numerator < 0) != (denominator < 0) ? -1 : 1;
        return fromUnits(q, target).normalized();
    }
    return std::nullopt;
}

std::optional<Decimal> Decimal::divide(Decimal a, Decimal b, int scale) {
    if (b.m_units == 0 || scale < 0 || scale > kMaxScale)
        return std::nullopt;
    // quotient * 10^scale = |a.units| * 10^shift / |b.units|, by long division.
    quint64 numerator = magnitude(a.m_units);
    quint64 denominator = magnitude(b.m_units);
    int shift = scale - a.m_scale + b.m_scale;
    constexpr quint64 kMax = std::numeric_limits<quint64>::max();
    for (; shift < 0; ++shift) {
        // A divisor beyond twice any numerator: the quotient rounds to zero.
        if (denominator > kMax / 10)
            return fromUnits(0, scale);
        denominator *= 10;
    }
    quint64 quotient = numerator / denominator;
    quint64 remainder = numerator % denominator;
    for (; shift > 0; --shift) {
        // The next digit and remainder of remainder * 10, added up ten times: each partial
        // sum stays below twice the divisor, so nothing overflows.
        quint64 digit = 0;
        quint64 rest = 0;
        for (int i = 0; i < 10; ++i) {
            rest += remainder;
            if (rest >= denominator) {
                rest -= denominator;
                ++digit;
            }
        }
        if (quotient > (kMax - digit) / 10)
            return std::nullopt;
        quotient = quotient * 10 + digit;
        remainder = rest;
    }
    constexpr auto kLargest = static_cast<quint64>(std::numeric_limits<qint64>::max());
    const quint64 beyondHalf = denominator - remainder;
    if (quotient <= kLargest &&
        (remainder > beyondHalf || (remainder == beyondHalf && (quotient & 1) != 0)))
        ++quotient;
    if (quotient > kLargest)
        return std::nullopt;
    const auto units = static_cast<qint64>(quotient);
    return fromUnits((a.m_units < 0) != (b.m_units < 0) ? -units : units, scale);
}

int Decimal::compareScaled(Decimal a, Decimal b) {
    {
        Decimal &narrow = a.m_scale < b.m_scale ? a : b;
        const int scale = qMax(a.m_scale, b.m_scale);
        qint64 units = 0;
        if (!widened(narrow.m_units, scale - narrow.m_scale, units)) {
            // Too large to widen: beyond anything the other one can hold.
            const int sign = narrow.m_units < 0 ? -1 : 1;
            return &narrow == &a ? sign : -sign;
        }
        narrow = fromUnits(units, scale);
    }
    return a.m_units < b.m_units ? -1 : (a.m_units > b.m_units ? 1 : 0);
}

Decimal::Parts Decimal::split() const {
    Parts parts;
    if (m_scale < 0) {
        // Only values read from other programs' files are this large; beyond the whole
        // part's range they share its ends.
        if (!widened(m_units, -m_scale, parts.whole))
            parts.whole = m_units < 0 ? std::numeric_limits<qint64>::min()
                                      : std::numeric_limits<qint64>::max();
        return parts;
    }
    const qint64 p = kPow10[m_scale];
    parts.whole = m_units / p;
    qint64 rest = m_units % p;
    if (rest < 0) {
        --parts.whole;
        rest += p;
    }
    parts.fraction = static_cast<quint64>(rest) * static_cast<quint64>(kPow10[kMaxScale - m_scale]);
    return parts;
}

void Decimal::appendTo(QByteArray &out) const {
    normalized().appendFixed(out);
}

void Decimal::appendFixed(QByteArray &out) const {
    const quint64 m = magnitude(m_units);
    if (m_scale < 0) {
        if (m_units < 0)
            out.append('-');
        out.append(QByteArray::number(m));
        if (m != 0)
            out.append(QByteArray(-m_scale, '0'));
        return;
    }
    const auto p = static_cast<quint64>(kPow10[m_scale]);
    if (m_units < 0)
        out.append('-');
    out.append(QByteArray::number(m / p));
    if (m_scale > 0) {
        out.append('.');
        const QByteArray decimals = QByteArray::number(m % p);
        out.append(QByteArray(m_scale - decimals.size(), '0'));
        out.append(decimals);
    }
}

QString Decimal::toString() const {
    QByteArray out;
    normalized().appendFixed(out);
    return QString::fromLatin1(out);
}

void Decimal::store(char *out) const {
    std::memcpy(out, &m_units, sizeof m_units);
    out[8] = static_cast<char>(m_scale);
}

void Decimal::storeNull(char *out) {
    std::memset(out, 0, 8);
    out[8] = static_cast<char>(kNullMark);
}

std::optional<Decimal> Decimal::load(const char *in) {
    if (static_cast<qint8>(in[8]) == kNullMark)
        return std::nullopt;
    qint64 units = 0;
    std::memcpy(&units, in, sizeof units);
    return fromUnits(units, in[8]);
}

} // namespace velmora
