// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/text/decimal.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <QTime>
#include <optional>

namespace velmora {

// How values are written as text: into statements, record filters, grids and printouts.
// Numbers always use "." and no thousands separator, whatever the user's regional settings.
class TextForm {
public:
    // A text value of a statement: between double quotes, an inner quote doubled.
    static QString quoted(QStringView text);
    // A text constant of a record filter: between single quotes, an inner quote doubled.
    static QString filterQuoted(QStringView text);

    // The user's short date format, widened to a four-digit year so that a date written is
    // always read back as the same day.
    static QString dateFormat(const QLocale &locale = QLocale::system());
    static QString date(QDate date, const QLocale &locale = QLocale::system());
    // Reads what date() writes; also accepts yyyy-MM-dd. An invalid QDate when unreadable.
    static QDate parseDate(QStringView text, const QLocale &locale = QLocale::system());

    // "HH:mm", 24-hour clock.
    static QString hour(QTime time);

    // Rounded to 4 decimals (halves to even), shortest form: 150, 150.5, 25.8741.
    static QString fourDecimal(double value);
    // Shortest form with up to 15 significant digits: 250, 150.5.
    static QString general(double value);
    // The same form of an exact decimal: its own digits wherever the form shows every digit
    // (up to 15 significant ones, not below 0.00001), so that exact sums print exactly.
    static QString general(const Decimal &value);
    static void appendGeneral(QByteArray &out, const Decimal &value);
    // A leading "0" below 10: 07.
    static QString twoDigit(int value);

    // A number written as a statement or a field writes it: digits with "." and an optional
    // sign, blanks around ignored, no exponent. nullopt for anything else.
    static std::optional<double> parseNumber(QStringView text);
};

} // namespace velmora
