#pragma once

#include "store/column.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <optional>

namespace velmora {

// The text forms of dBASE field values: numbers right-aligned ASCII, dates YYYYMMDD,
// character fields padded with blanks; NULL is all blanks.
class DbfField {
public:
    // Blanks, '*' and NUL bytes alone mean NULL in N, F and D fields.
    static bool isNullNumeric(QByteArrayView field);

    // nullopt for NULL or for text that is not a number.
    static std::optional<double> number(QByteArrayView field);
    // Invalid for NULL or for text that is not a date.
    static QDate date(QByteArrayView field);
    // The bytes without the blanks and NUL bytes that pad the field on the right.
    static QByteArrayView textBytes(QByteArrayView field);
    static QString text(QByteArrayView field);

    // Each writes exactly column.width bytes at out, or raises an EngineError that names the
    // column when the value does not fit; nothing is written then.
    static void writeNull(char *out, const Column &column);
    static void writeNumber(char *out, const Column &column, double value);
    static void writeDate(char *out, const Column &column, QDate value);
    static void writeText(char *out, const Column &column, const QString &value);
    static QByteArray numberText(const Column &column, double value);
};

} // namespace velmora
