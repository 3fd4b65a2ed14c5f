// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/timp.h"

#include <cmath>

namespace velmora {

namespace {

constexpr qint64 kUnitsPerDay = 10000;
constexpr qint64 kMsPerUnit = 8640; // 86,400,000 ms / 10,000
constexpr qint64 kMsPerMinute = 60000;
constexpr qint64 kSnapMs = 4320;

qint64 units(double timp) {
    return static_cast<qint64>(std::nearbyint(timp * kUnitsPerDay));
}

qint64 floorDiv(qint64 a, qint64 b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

} // namespace

double Timp::fromDateTime(QDate date, QTime time) {
    // Worked out in whole milliseconds, so that halves are exact and go to the even
    // neighbour. The last 4.32 s of a day would round to the next midnight: they keep the
    // day's last step instead, so 23:59:57 never shows or prints as the next day.
    const qint64 ms = time.isValid() ? time.msecsSinceStartOfDay() : 0;
    qint64 fraction = ms / kMsPerUnit;
    const qint64 rest = ms % kMsPerUnit;
    if (rest > kMsPerUnit / 2 || (rest == kMsPerUnit / 2 && fraction % 2 != 0))
        ++fraction;
    fraction = qMin(fraction, kUnitsPerDay - 1);
    return static_cast<double>(epoch().daysTo(date) * kUnitsPerDay + fraction) / kUnitsPerDay;
}

QDate Timp::date(double timp) {
    return epoch().addDays(floorDiv(units(timp), kUnitsPerDay));
}

QTime Timp::time(double timp) {
    const qint64 all = units(timp);
    qint64 ms = (all - floorDiv(all, kUnitsPerDay) * kUnitsPerDay) * kMsPerUnit;
    const qint64 minute = (ms + kMsPerMinute / 2) / kMsPerMinute * kMsPerMinute;
    if (std::llabs(ms - minute) <= kSnapMs && minute < 86400000)
        ms = minute;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

} // namespace velmora
