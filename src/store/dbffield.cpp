#include "store/dbffield.h"

#include "store/cp1250.h"
#include "store/error.h"
#include "store/textform.h"

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

std::optional<double> DbfField::number(QByteArrayView field) {
    const char *begin = field.data();
    const char *end = begin + field.size();
    while (begin < end && (*begin == ' ' || *begin == '\0'))
        ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\0'))
        --end;
    if (begin == end || *begin == '*')
        return std::nullopt;
    if (*begin == '+')
        ++begin;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
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

void DbfField::writeNull(char *out, const Column &column) {
    std::memset(out, ' ', column.width);
}

QByteArray DbfField::numberText(const Column &column, double value) {
    if (!std::isfinite(value)) {
        throw EngineError(
            QStringLiteral("Valoarea nu este un numar valid pentru coloana %1.").arg(column.name));
    }
    const int decimals = column.dbfType == 'N' || column.dbfType == 'F' ? column.decimals : 4;
    const double scale = std::pow(10.0, decimals);
    // Halves go to the even neighbour, as everywhere else numbers are rounded.
    double rounded = std::nearbyint(value * scale) / scale;
    if (rounded == 0)
        rounded = 0; // no "-0.00"
    QByteArray text = QByteArray::number(rounded, 'f', decimals);
    if (text.size() > column.width) {
        throw EngineError(QStringLiteral("Valoarea %1 nu incape in coloana %2 (cel mult %3 "
                                         "caractere, %4 zecimale).")
                              .arg(TextForm::general(value), column.name)
                              .arg(column.width)
                              .arg(column.decimals));
    }
    return text;
}

void DbfField::writeNumber(char *out, const Column &column, double value) {
    const QByteArray text = numberText(column, value);
    const qsizetype pad = column.width - text.size();
    std::memset(out, ' ', pad);
    std::memcpy(out + pad, text.constData(), text.size());
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
