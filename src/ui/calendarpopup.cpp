// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/calendarpopup.h"

#include <QCalendarWidget>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace velmora {

CalendarPopup::CalendarPopup(QWidget *field)
    : QWidget(field, Qt::Popup)
    , m_field(field)
    , m_calendar(new QCalendarWidget(this)) {
    setObjectName(QStringLiteral("Calendar"));
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setFirstDayOfWeek(Qt::Monday);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_calendar);
    connect(m_calendar, &QCalendarWidget::clicked, this, &CalendarPopup::choose);
    connect(m_calendar, &QCalendarWidget::activated, this, &CalendarPopup::choose);
}

void CalendarPopup::open(QDate date, QDate minimum, QDate maximum) {
    m_calendar->setDateRange(minimum, maximum);
    if (date.isValid())
        m_calendar->setSelectedDate(date);
    adjustSize();
    // Under the field, or above it where the screen ends.
    const QRect field(m_field->mapToGlobal(QPoint(0, 0)), m_field->size());
    QScreen *screen = m_field->screen() ? m_field->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(field.topLeft(), size());
    QPoint at(field.left(), field.bottom() + 1);
    if (at.y() + height() > area.bottom() + 1)
        at.setY(field.top() - height());
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - width())));
    move(at);
    show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

void CalendarPopup::choose(QDate date) {
    close();
    Q_EMIT chosen(date);
}

} // namespace velmora
