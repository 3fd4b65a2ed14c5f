// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/typedfield.h"

#include <QDate>

class QStyleOptionComboBox;

namespace velmora {

class CalendarPopup;

// A date as the clerk types it in the short date format, day.month.year: "03.01.2027",
// "3.1.2027" or "03012027" (TypedEntry). An impossible date (31.02.2026) is the hint "Data
// incorecta!". Optionally with a calendar that drops down from an arrow, F4 or Alt+Down.
class DateField : public TypedField {
    Q_OBJECT

public:
    explicit DateField(QWidget *parent = nullptr);

    // The date typed; an invalid QDate while the text is no date.
    QDate date() const;
    // Shows the date in the short date format.
    void setDate(QDate date);

    void setCalendarPopup(bool on);
    bool calendarPopup() const { return m_calendarPopup; }
    // The calendar while it is open or after it was opened once, else nullptr.
    CalendarPopup *calendar() const { return m_calendar; }

    // The days a date field takes, as the platform's date field did.
    static QDate minimumDate() { return QDate(1752, 9, 14); }
    static QDate maximumDate() { return QDate(9999, 12, 31); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool readable(QStringView text) const override;
    bool mayBecome(QStringView text) const override;
    QString canonical(QStringView text) const override;
    std::optional<QString> stepped(QStringView text, int part, int steps) const override;
    QString problem() const override;
    QString widestText() const override;

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void openCalendar();
    void initComboOption(QStyleOptionComboBox *option) const;
    void placeEditor();

    bool m_calendarPopup = false;
    CalendarPopup *m_calendar = nullptr;
};

} // namespace velmora
