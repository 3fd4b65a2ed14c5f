// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/dbffield.h"

#include "store/text/cp1250.h"
#include "store/text/error.h"
#include "store/text/textform.h"

#include <QtEndian>
#include <charconv>
#include <cmath>
#include <cstring>

namespace velmora {

bool DbfField::isNullNumeric(QByteArrayView field) {
    for (const char c : field) {
        if (c != ' ' && c != '*' && c != '\0')
            return false;
    }
    return true;
}

namespace {

// Narrows [begin, end) to the field's text without the blanks and NUL bytes around it.
void trimPadding(const char *&begin, const char *&end) {
    while (begin < end && (*begin == ' ' || *begin == '\0'))
        ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\0'))
        --end;
}

// Powers of ten that a double holds exactly.
constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9, 1e10,
                             1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20};

// The plain decimal forms dBASE writes, without from_chars: scans of a whole table read one
// number per record. Both operands of the division are exact, so the quotient is rounded
// once, just as from_chars rounds. False for anything else (exponents, long mantissas).
bool plainDecimal(const char *p, const char *end, double &value) {
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = *p == '-';
        ++p;
    }
    quint64 mantissa = 0;
    int digits = 0;
    int decimals = -1;
    for (; p < end; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            if (digits == 15)
                return false;
            mantissa = mantissa * 10 + static_cast<quint64>(c - '0');
            ++digits;
            if (decimals >= 0)
                ++decimals;
        } else if (c == '.' && decimals < 0) {
            decimals = 0;
        } else {
            return false;
        }
    }
    if (digits == 0)
        return false;
    value = static_cast<double>(mantissa);
    if (decimals > 0)
        value /= kPow10[decimals];
    if (negative)
        value = -value;
    return true;
}

quint64 bigEndian(const char *p, int n) {
    quint64 v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

// A currency field (Y): a signed 64-bit count of ten-thousandths, least significant byte
// first. field holds exactly eight bytes.
qint64 currencyUnits(QByteArrayView field) {
    quint64 units = 0;
    for (int i = 7; i >= 0; --i)
        units = (units << 8) | static_cast<unsigned char>(field[i]);
    return static_cast<qint64>(units);
}

bool allZero(QByteArrayView field) {
    for (const char c : field) {
        if (c != '\0')
            return false;
    }
    return true;
}

} // namespace

std::optional<double> DbfField::number(QByteArrayView field) {
    const char *begin = field.data();
    const char *end = begin + field.size();
    trimPadding(begin, end);
    if (begin == end || *begin == '*')
        return std::nullopt;
    double value = 0;
    if (plainDecimal(begin, end, value))
        return value;
    if (*begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::optional<double> DbfField::numberOf(const Column &column, QByteArrayView field) {
    switch (column.dbfType) {
    case 'I':
    case '+':
        if (field.size() != 4)
            break;
        if (allZero(field))
            return std::nullopt;
        // Big-endian with the sign bit flipped, so the bytes sort like the numbers.
        return static_cast<double>(
            static_cast<qint32>(static_cast<quint32>(bigEndian(field.data(), 4)) ^ 0x80000000u));
    case 'O': {
        if (field.size() != 8)
            break;
        if (allZero(field))
            return std::nullopt;
        quint64 bits = bigEndian(field.data(), 8);
        bits = (bits & 0x8000000000000000ull) ? bits ^ 0x8000000000000000ull : ~bits;
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    case 'Y':
        if (field.size() != 8)
            break;
        return static_cast<double>(currencyUnits(field)) / 10000.0;
    default:
        break;
    }
    return number(field);
}

std::optional<Decimal> DbfField::decimal(QByteArrayView field) {
    const char *begin = field.data();
    const char *end = begin + field.size();
    while (begin < end && *begin == ' ')
        ++begin;
    // What dBASE writes, right-aligned: an optional minus, digits, an optional point and
    // decimals, at most 18 digits in all. A scan reads one per record, so this form is read
    // here at once; any other goes the long way.
    {
        const char *p = begin;
        const bool negative = p < end && *p == '-';
        p += negative;
        // 18 digits always fit; a 19th stops the scan short of the end.
        int left = Decimal::kMaxDigits;
        qint64 units = 0;
        while (p < end && left > 0 && static_cast<unsigned char>(*p - '0') < 10) {
            units = units * 10 + (*p++ - '0');
            --left;
        }
        int scale = 0;
        if (p < end && *p == '.') {
            const char *decimals = ++p;
            while (p < end && left > 0 && static_cast<unsigned char>(*p - '0') < 10) {
                units = units * 10 + (*p++ - '0');
                --left;
            }
            scale = static_cast<int>(p - decimals);
        }
        if (p == end && left < Decimal::kMaxDigits)
            return Decimal::fromUnits(negative ? -units : units, scale);
    }
    return decimalInFull(field);
}

std::optional<Decimal> DbfField::decimalInFull(QByteArrayView field) {
    const char *begin = field.data();
    const char *end = begin + field.size();
    trimPadding(begin, end);
    if (begin == end || *begin == '*')
        return std::nullopt;
    bool tooLong = false;
    if (const std::optional<Decimal> d = Decimal::parse(begin, end, &tooLong))
        return d;
    if (tooLong) {
        // More digits than are held exactly, as only another program writes them.
        if (const std::optional<double> v = number(field))
            return Decimal::fromDouble(*v);
    }
    return std::nullopt;
}

std::optional<Decimal> DbfField::decimalOf(const Column &column, QByteArrayView field) {
    if (column.binaryDecimal)
        return Decimal::load(field.data());
    switch (column.dbfType) {
    case 'N':
    case 'F':
        return decimal(field);
    case 'I':
    case '+':
        if (field.size() != 4)
            break;
        if (const std::optional<double> v = numberOf(column, field))
            return Decimal::fromUnits(static_cast<qint64>(*v));
        return std::nullopt;
    case 'Y':
        if (field.size() != 8)
            break;
        return Decimal::fromUnits(currencyUnits(field), 4);
    default:
        break;
    }
    if (const std::optional<double> v = numberOf(column, field))
        return Decimal::fromDouble(*v);
    return std::nullopt;
}

int DbfField::wholeDigits(const Column &column) {
    const int decimals = column.dbfType == 'N' || column.dbfType == 'F' ? column.decimals : 0;
    return qMax(0, column.width - (decimals > 0 ? decimals + 2 : 1));
}

namespace {

// "  -012.50" gives "-12.5"; false when the text is not a plain decimal whose general form
// is its own digits (more than 15 significant digits, or below 1e-5, where the general form
// rounds or turns to an exponent). Appends to out only when it succeeds.
bool appendTrimmedDecimal(const char *p, const char *end, QByteArray &out) {
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    const char *intBegin = p;
    while (p < end && *p >= '0' && *p <= '9')
        ++p;
    const char *intEnd = p;
    const char *fracBegin = p;
    const char *fracEnd = p;
    if (p < end && *p == '.') {
        fracBegin = ++p;
        while (p < end && *p >= '0' && *p <= '9')
            ++p;
        fracEnd = p;
    }
    if (p != end || (intBegin == intEnd && fracBegin == fracEnd))
        return false;
    while (intBegin < intEnd && *intBegin == '0')
        ++intBegin;
    while (fracEnd > fracBegin && fracEnd[-1] == '0')
        --fracEnd;
    const qsizetype intDigits = intEnd - intBegin;
    qsizetype significant = intDigits + (fracEnd - fracBegin);
    if (intDigits == 0) {
        const char *first = fracBegin;
        while (first < fracEnd && *first == '0')
            ++first;
        if (first == fracEnd) {
            out += '0';
            return true;
        }
        if (first - fracBegin >= 5)
            return false;
        significant = fracEnd - first;
    }
    if (significant > 15)
        return false;
    if (negative)
        out += '-';
    if (intDigits == 0)
        out += '0';
    else
        out.append(intBegin, intDigits);
    if (fracEnd > fracBegin) {
        out += '.';
        out.append(fracBegin, fracEnd - fracBegin);
    }
    return true;
}

} // namespace

void DbfField::appendGeneralText(QByteArray &out, const Column &column, QByteArrayView field) {
    if (!column.binaryDecimal && (column.dbfType == 'N' || column.dbfType == 'F')) {
        const char *begin = field.data();
        const char *end = begin + field.size();
        trimPadding(begin, end);
        if (begin == end || *begin == '*')
            return;
        if (appendTrimmedDecimal(begin, end, out))
            return;
    }
    if (const std::optional<Decimal> v = decimalOf(column, field))
        TextForm::appendGeneral(out, *v);
}

QByteArray DbfField::generalText(const Column &column, QByteArrayView field) {
    QByteArray out;
    appendGeneralText(out, column, field);
    return out;
}

int DbfField::dateKey(QByteArrayView field) {
    if (field.size() < 8)
        return 0;
    // All eight digits at once, as one 64-bit word (a scan reads a date or two per record):
    // a byte is a digit when its high half is 3 and stays 3 with 6 added.
    quint64 word = 0;
    std::memcpy(&word, field.data(), 8);
    word = qFromLittleEndian(word);
    constexpr quint64 kHigh = 0xF0F0F0F0F0F0F0F0ull;
    constexpr quint64 kThrees = 0x3030303030303030ull;
    if ((word & kHigh) != kThrees || ((word + 0x0606060606060606ull) & kHigh) != kThrees)
        return 0;
    // The first character is the lowest byte: pairs, then fours, then all eight.
    quint64 v = word - kThrees;
    v = v * 10 + (v >> 8);
    v = (((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
         (((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
        32;
    const int key = static_cast<int>(v);
    const int month = key / 100 % 100;
    const int day = key % 100;
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return 0;
    return key;
}

QDate DbfField::date(QByteArrayView field) {
    if (field.size() < 8)
        return {};
    int parts[3] = {0, 0, 0};
    const int lengths[3] = {4, 2, 2};
    int pos = 0;
    for (int p = 0; p < 3; ++p) {
        for (int i = 0; i < lengths[p]; ++i, ++pos) {
            const char c = field[pos];
            if (c < '0' || c > '9')
                return {};
            parts[p] = parts[p] * 10 + (c - '0');
        }
    }
    return QDate(parts[0], parts[1], parts[2]);
}

QByteArrayView DbfField::textBytes(QByteArrayView field) {
    qsizetype n = field.size();
    while (n > 0 && (field[n - 1] == ' ' || field[n - 1] == '\0'))
        --n;
    return field.first(n);
}

QString DbfField::text(QByteArrayView field) {
    return Cp1250::decode(textBytes(field));
}

bool DbfField::isBinary(const Column &column) {
    switch (column.dbfType) {
    case 'I':
    case '+':
    case 'O':
    case '@':
    case 'Y':
    case 'T':
        return true;
    default:
        return false;
    }
}

void DbfField::writeNull(char *out, const Column &column) {
    std::memset(out, isBinary(column) ? '\0' : ' ', column.width);
}

QByteArray DbfField::numberText(const Column &column, const Decimal &value) {
    const int decimals = column.dbfType == 'N' || column.dbfType == 'F' ? column.decimals : 4;
    // Halves go to the even neighbour, on the decimal value itself.
    const std::optional<Decimal> rounded = value.rescaled(qMin(decimals, Decimal::kMaxScale));
    QByteArray text;
    if (rounded && rounded->integerDigits() <= wholeDigits(column))
        rounded->appendFixed(text);
    if (text.isEmpty() || text.size() > column.width) {
        throw EngineError(QStringLiteral("Valoarea %1 nu incape in coloana %2 (cel mult %3 "
                                         "cifre inainte de punct si %4 zecimale).")
                              .arg(value.toString(), column.name)
                              .arg(wholeDigits(column))
                              .arg(column.decimals));
    }
    return text;
}

void DbfField::writeNumber(char *out, const Column &column, const Decimal &value) {
    const QByteArray text = numberText(column, value);
    const qsizetype pad = column.width - text.size();
    std::memset(out, ' ', pad);
    std::memcpy(out + pad, text.constData(), text.size());
}

void DbfField::writeNumber(char *out, const Column &column, double value) {
    const std::optional<Decimal> d = Decimal::fromDouble(value);
    if (!d) {
        throw EngineError(
            QStringLiteral("Valoarea nu este un numar valid pentru coloana %1.").arg(column.name));
    }
    writeNumber(out, column, *d);
}

void DbfField::writeDate(char *out, const Column &column, QDate value) {
    if (!value.isValid()) {
        writeNull(out, column);
        return;
    }
    if (value.year() < 0 || value.year() > 9999 || column.width < 8) {
        throw EngineError(QStringLiteral("Data %1 nu poate fi memorata in coloana %2.")
                              .arg(TextForm::date(value), column.name));
    }
    const QByteArray text = value.toString(QStringLiteral("yyyyMMdd")).toLatin1();
    std::memcpy(out, text.constData(), 8);
    std::memset(out + 8, ' ', column.width - 8);
}

void DbfField::writeText(char *out, const Column &column, const QString &value) {
    const QByteArray bytes = Cp1250::encode(value);
    if (bytes.size() > column.width) {
        throw EngineError(QStringLiteral("Textul \"%1\" nu incape in coloana %2 (cel mult %3 "
                                         "caractere).")
                              .arg(value, column.name)
                              .arg(column.width));
    }
    std::memcpy(out, bytes.constData(), bytes.size());
    std::memset(out + bytes.size(), ' ', column.width - bytes.size());
}

} // namespace velmora
