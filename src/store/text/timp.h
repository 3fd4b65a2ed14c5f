// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QTime>

namespace velmora {

// The date and time of a departure or arrival as one number: whole days since 30 December
// 1899 plus the time of day as a fraction, kept to 4 decimals (steps of 8.64 s).
class Timp {
public:
    static QDate epoch() { return {1899, 12, 30}; }
    // Whole part of the date plus fraction of the time, rounded to 4 decimals half to even,
    // but never into the next day: the last seconds of a day stay on its last step (0.9999).
    static double fromDateTime(QDate date, QTime time);
    static QDate date(double timp);
    // The time of day, rounded to 4 decimals first; a time within 4.32 s of a whole minute
    // is that minute, so 14:05:00 (stored as 14:04:59.52) reads back as 14:05.
    static QTime time(double timp);
};

} // namespace velmora
