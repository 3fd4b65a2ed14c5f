// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;

namespace velmora {

// The month calendar that drops down under a date field. A click on a day, or Enter on the
// day chosen with the arrow keys, gives that day; Esc or a click outside closes it and gives
// nothing.
class CalendarPopup : public QWidget {
    Q_OBJECT

public:
    explicit CalendarPopup(QWidget *field);

    // Shows the month of the date under the field, the date chosen, with the keys in it.
    void open(QDate date, QDate minimum, QDate maximum);
    QCalendarWidget *calendar() const { return m_calendar; }

Q_SIGNALS:
    void chosen(QDate date);

private:
    void choose(QDate date);

    QWidget *m_field;
    QCalendarWidget *m_calendar;
};

} // namespace velmora
