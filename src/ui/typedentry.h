// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QLocale>
#include <QStringView>
#include <QTime>
#include <array>
#include <utility>

namespace velmora {

// Reads a date or an hour as a clerk types it, without guessing: what cannot be read as one
// exact day or time of day is invalid, never turned into a neighbouring one. Core code: the
// date and time fields of the windows rest on it.
class TypedEntry {
public:
    enum class Part { Day, Month, Year, Hour, Minute, Second };

    // Day, month and year in the order of the short date format (TextForm::dateFormat), with
    // or without leading zeros, between any of the format's own separators or . / - , and
    // blanks ("03.01.2027", "3.1.2027"); or eight digits in that order ("03012027"). The year
    // has four digits: "03.01.27" is not read as any year. Invalid for anything else and for
    // a day that does not exist (31.02.2026). Under a short format that names the month
    // ("d MMM yyyy") the text as the locale writes it is read too.
    static QDate date(QStringView text, const QLocale &locale = QLocale::system());
    // "HH:mm", "H:mm" or "HH:mm:ss", with ":" or "."; or four or six digits ("0745"). Minutes
    // and seconds have two digits. Invalid for anything else and for 24:00 or 25:10.
    static QTime time(QStringView text);

    // Whether typing on could still make a date or an hour of the text: only digits and
    // separators (and letters where the format names the month), and no more digits than the
    // longest form holds.
    static bool mayBecomeDate(QStringView text, const QLocale &locale = QLocale::system());
    static bool mayBecomeTime(QStringView text);

    // The parts of a date in the short format's order; of an hour, hours, minutes, seconds.
    static std::array<Part, 3> dateOrder(const QLocale &locale = QLocale::system());
    static constexpr std::array<Part, 3> timeOrder() {
        return {Part::Hour, Part::Minute, Part::Second};
    }

    // The index of the part (a run of digits or letters) that a cursor position touches, or the one
    // before it when the position stands among separators; 0 before the first one.
    static int partAt(QStringView text, int position);
    // Start and length of the part with that index; {-1, 0} when the text has fewer parts.
    static std::pair<int, int> partSpan(QStringView text, int index);
};

} // namespace velmora
