// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/dbf/column.h"
#include "store/text/decimal.h"

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
    // The value of a numeric column of any kind met in foreign files: N and F as text, the
    // binary I, + and O of dBASE 7 and FoxPro's Y. nullopt for NULL.
    static std::optional<double> numberOf(const Column &column, QByteArrayView field);
    // The exact value of an N or F field's text; nullopt for NULL or for text that is not a
    // number.
    static std::optional<Decimal> decimal(QByteArrayView field);
    // The same, every form read by the general parser; decimal() reads the forms dBASE
    // writes faster and gives the same values.
    static std::optional<Decimal> decimalInFull(QByteArrayView field);
    // The exact value of a numeric column of any kind, the engine's computed ones included.
    // Binary floating point of foreign files and texts with more digits than a Decimal holds
    // are taken with the 15 significant digits of the general form. nullopt for NULL.
    static std::optional<Decimal> decimalOf(const Column &column, QByteArrayView field);
    // The digits a numeric column holds before the point: its width less the room for the
    // sign and, with decimals, for the point and the decimals. DECIMAL(8,2) holds 6.
    static int wholeDigits(const Column &column);
    // The general form (TextForm::general) of a numeric field's value; empty for NULL. The
    // plain decimals dBASE writes are trimmed rather than parsed and formatted again, which
    // matters when a whole result is printed.
    static QByteArray generalText(const Column &column, QByteArrayView field);
    // The same, appended to out, for printers that write a whole result into one buffer.
    static void appendGeneralText(QByteArray &out, const Column &column, QByteArrayView field);
    // A date as the number yyyymmdd, which orders like the date; 0 for NULL or a field that
    // is not a date.
    static int dateKey(QByteArrayView field);
    // Invalid for NULL or for text that is not a date.
    static QDate date(QByteArrayView field);
    // The bytes without the blanks and NUL bytes that pad the field on the right.
    static QByteArrayView textBytes(QByteArrayView field);
    static QString text(QByteArrayView field);

    // Each writes exactly column.width bytes at out, or raises an EngineError that names the
    // column when the value does not fit; nothing is written then.
    // Blanks, or zero bytes for the binary kinds.
    static void writeNull(char *out, const Column &column);
    // Binary fields of foreign files hold values this program never writes.
    static bool isBinary(const Column &column);
    // Rounded half to even to the column's decimals; refused when it needs more digits before
    // the point than the column holds.
    static void writeNumber(char *out, const Column &column, const Decimal &value);
    // A double as the decimal its general form writes; refused when not finite.
    static void writeNumber(char *out, const Column &column, double value);
    static void writeDate(char *out, const Column &column, QDate value);
    static void writeText(char *out, const Column &column, const QString &value);
    static QByteArray numberText(const Column &column, const Decimal &value);
};

} // namespace velmora
