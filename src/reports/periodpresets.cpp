// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/periodpresets.h"

namespace velmora {

namespace {

PeriodPresets::Range monthOf(QDate day) {
    const QDate first(day.year(), day.month(), 1);
    return {first, first.addMonths(1).addDays(-1)};
}

} // namespace

QList<PeriodPresets::Preset> PeriodPresets::all() {
    return {Preset::ThisMonth, Preset::LastMonth, Preset::ThisYear, Preset::Last30Days};
}

QString PeriodPresets::name(Preset preset) {
    switch (preset) {
    case Preset::ThisMonth:
        return QStringLiteral("Luna aceasta");
    case Preset::LastMonth:
        return QStringLiteral("Luna trecuta");
    case Preset::ThisYear:
        return QStringLiteral("Anul acesta");
    case Preset::Last30Days:
        return QStringLiteral("Ultimele 30 de zile");
    }
    return {};
}

PeriodPresets::Range PeriodPresets::range(Preset preset, QDate today) {
    switch (preset) {
    case Preset::ThisMonth:
        return monthOf(today);
    case Preset::LastMonth:
        return monthOf(QDate(today.year(), today.month(), 1).addMonths(-1));
    case Preset::ThisYear:
        return {QDate(today.year(), 1, 1), QDate(today.year(), 12, 31)};
    case Preset::Last30Days:
        return {today.addDays(-29), today};
    }
    return {};
}

} // namespace velmora
