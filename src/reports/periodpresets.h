// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QString>

namespace velmora {

// The periods a report offers beside a range of the user's own, worked out from today's
// date: whole calendar months and years, so that sheets typed in ahead for later days of the
// month are counted with it, and the last 30 days with today included.
class PeriodPresets {
public:
    enum class Preset { ThisMonth, LastMonth, ThisYear, Last30Days };
    struct Range {
        QDate from;
        QDate to;
        friend bool operator==(const Range &, const Range &) = default;
    };

    // In the order a choice lists them.
    static QList<Preset> all();
    // "Luna aceasta", "Luna trecuta", "Anul acesta", "Ultimele 30 de zile".
    static QString name(Preset preset);
    // Both ends included.
    static Range range(Preset preset, QDate today);
};

} // namespace velmora
