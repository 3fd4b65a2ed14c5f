// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/datefield.h"

#include "store/text/textform.h"
#include "ui/calendarpopup.h"
#include "ui/typedentry.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>

namespace velmora {

DateField::DateField(QWidget *parent)
    : TypedField(parent) {}

QDate DateField::date() const {
    const QString text = lineEdit()->text();
    return readable(text) ? TypedEntry::date(text) : QDate();
}

void DateField::setDate(QDate date) {
    showText(date.isValid() ? TextForm::date(date) : QString());
}

bool DateField::readable(QStringView text) const {
    const QDate typed = TypedEntry::date(text);
    return typed.isValid() && typed >= minimumDate() && typed <= maximumDate();
}

bool DateField::mayBecome(QStringView text) const {
    return TypedEntry::mayBecomeDate(text);
}

QString DateField::canonical(QStringView text) const {
    return TextForm::date(TypedEntry::date(text));
}

std::optional<QString> DateField::stepped(QStringView text, int part, int steps) const {
    if (!readable(text))
        return std::nullopt;
    const QDate from = TypedEntry::date(text);
    int day = from.day();
    int month = from.month();
    int year = from.year();
    // Each part moves within its own range, as the platform's date field did: the day
    // stays in its month, the month in its year.
    switch (TypedEntry::dateOrder()[std::clamp(part, 0, 2)]) {
    case TypedEntry::Part::Day:
        day = std::clamp(day + steps, 1, from.daysInMonth());
        break;
    case TypedEntry::Part::Month:
        month = std::clamp(month + steps, 1, 12);
        break;
    default:
        year = std::clamp(year + steps, minimumDate().year(), maximumDate().year());
        break;
    }
    // 31 January a month on is the last day of February.
    day = std::min(day, QDate(year, month, 1).daysInMonth());
    const QDate to = std::clamp(QDate(year, month, day), minimumDate(), maximumDate());
    if (to == from)
        return std::nullopt;
    return TextForm::date(to);
}

QString DateField::problem() const {
    return QStringLiteral("Data incorecta!");
}

QString DateField::widestText() const {
    return TextForm::date(QDate(2000, 12, 28));
}

void DateField::setCalendarPopup(bool on) {
    if (m_calendarPopup == on)
        return;
    m_calendarPopup = on;
    // The arrow of the calendar stands where the spin buttons would.
    setButtonSymbols(on ? NoButtons : UpDownArrows);
    placeEditor();
    updateGeometry();
    update();
}

void DateField::initComboOption(QStyleOptionComboBox *option) const {
    option->initFrom(this);
    option->editable = true;
    option->frame = true;
    option->subControls =
        QStyle::SC_ComboBoxFrame | QStyle::SC_ComboBoxEditField | QStyle::SC_ComboBoxArrow;
    if (m_calendar && m_calendar->isVisible()) {
        option->activeSubControls = QStyle::SC_ComboBoxArrow;
        option->state |= QStyle::State_On | QStyle::State_Sunken;
    }
}

void DateField::placeEditor() {
    if (!m_calendarPopup)
        return;
    QStyleOptionComboBox option;
    initComboOption(&option);
    lineEdit()->setGeometry(
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this));
}

QSize DateField::sizeHint() const {
    if (!m_calendarPopup)
        return TypedField::sizeHint();
    ensurePolished();
    const int width = fontMetrics().horizontalAdvance(widestText() + u' ') + 2;
    QStyleOptionComboBox option;
    initComboOption(&option);
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option,
                                     QSize(width, lineEdit()->sizeHint().height()), this);
}

QSize DateField::minimumSizeHint() const {
    return sizeHint();
}

bool DateField::event(QEvent *event) {
    const bool result = TypedField::event(event);
    // The spin box lays its edit out again on these; the calendar's arrow needs its own place.
    if (event->type() == QEvent::LayoutDirectionChange ||
        event->type() == QEvent::ApplicationLayoutDirectionChange)
        placeEditor();
    return result;
}

void DateField::resizeEvent(QResizeEvent *event) {
    TypedField::resizeEvent(event);
    placeEditor();
}

void DateField::changeEvent(QEvent *event) {
    TypedField::changeEvent(event);
    if (event->type() == QEvent::StyleChange)
        placeEditor();
}

void DateField::paintEvent(QPaintEvent *event) {
    if (!m_calendarPopup) {
        TypedField::paintEvent(event);
        return;
    }
    QStyleOptionComboBox option;
    initComboOption(&option);
    QStylePainter painter(this);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
}

void DateField::mousePressEvent(QMouseEvent *event) {
    if (m_calendarPopup && event->button() == Qt::LeftButton && isEnabled() && !isReadOnly()) {
        // The edit covers the text; a press that reaches the field is on its arrow.
        event->accept();
        openCalendar();
        return;
    }
    TypedField::mousePressEvent(event);
}

void DateField::keyPressEvent(QKeyEvent *event) {
    const bool opens = event->key() == Qt::Key_F4 ||
                       ((event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) &&
                        (event->modifiers() & Qt::AltModifier));
    if (m_calendarPopup && opens && !isReadOnly()) {
        event->accept();
        openCalendar();
        return;
    }
    TypedField::keyPressEvent(event);
}

void DateField::openCalendar() {
    if (!m_calendar) {
        m_calendar = new CalendarPopup(this);
        connect(m_calendar, &CalendarPopup::chosen, this, [this](QDate chosen) {
            setDate(chosen);
            update();
        });
    }
    setFocus(Qt::PopupFocusReason);
    m_calendar->open(date(), minimumDate(), maximumDate());
    update();
}

} // namespace velmora
