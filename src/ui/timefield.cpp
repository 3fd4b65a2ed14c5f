// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/timefield.h"

#include "ui/typedentry.h"

#include <QLineEdit>
#include <algorithm>

namespace velmora {

namespace {

QString shown(QTime time) {
    return time.toString(QStringLiteral("HH:mm:ss"));
}

} // namespace

TimeField::TimeField(QWidget *parent)
    : TypedField(parent) {}

QTime TimeField::time() const {
    return TypedEntry::time(lineEdit()->text());
}

void TimeField::setTime(QTime time) {
    showText(time.isValid() ? shown(time) : QString());
}

bool TimeField::readable(QStringView text) const {
    return TypedEntry::time(text).isValid();
}

bool TimeField::mayBecome(QStringView text) const {
    return TypedEntry::mayBecomeTime(text);
}

QString TimeField::canonical(QStringView text) const {
    return shown(TypedEntry::time(text));
}

std::optional<QString> TimeField::stepped(QStringView text, int part, int steps) const {
    const QTime from = TypedEntry::time(text);
    if (!from.isValid())
        return std::nullopt;
    int values[3] = {from.hour(), from.minute(), from.second()};
    const int limits[3] = {23, 59, 59};
    // Each part within its own range: 59 minutes do not roll over into the next hour, and no
    // hour into another day.
    const int at = std::clamp(part, 0, 2);
    values[at] = std::clamp(values[at] + steps, 0, limits[at]);
    const QTime to(values[0], values[1], values[2]);
    if (to == from)
        return std::nullopt;
    return shown(to);
}

QString TimeField::problem() const {
    return QStringLiteral("Ora incorecta!");
}

QString TimeField::widestText() const {
    return QStringLiteral("23:59:59");
}

} // namespace velmora
