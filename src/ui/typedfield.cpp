// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/typedfield.h"

#include "ui/fieldhint.h"
#include "ui/typedentry.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTimer>

namespace velmora {

namespace {

// Set while a field takes the focus back: the control that was about to get it loses it
// again without ever having had it, and must not take it back in turn.
bool g_takingFocusBack = false;

} // namespace

TypedField::TypedField(QWidget *parent)
    : QAbstractSpinBox(parent) {
    lineEdit()->installEventFilter(this);
    // The arrows look disabled where a part cannot move; that depends on the text.
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { update(); });
    connect(lineEdit(), &QLineEdit::cursorPositionChanged, this, [this] { update(); });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_clickedAt = -1; });
}

bool TypedField::hasValue() const {
    return readable(lineEdit()->text());
}

bool TypedField::checkInput() {
    if (hasValue())
        return true;
    setFocus(Qt::OtherFocusReason);
    FieldHint::show(problem(), this);
    return false;
}

void TypedField::showText(const QString &text) {
    lineEdit()->setText(text);
    selectAll();
    m_clickedAt = -1;
}

QValidator::State TypedField::validate(QString &input, int &) const {
    if (readable(input))
        return QValidator::Acceptable;
    // Anything else that cannot grow into a value (a letter) is refused as it is typed.
    return mayBecome(input) ? QValidator::Intermediate : QValidator::Invalid;
}

void TypedField::fixup(QString &input) const {
    if (readable(input))
        input = canonical(input);
}

int TypedField::partToStep() const {
    const QLineEdit *edit = lineEdit();
    const QString text = edit->text();
    if (!edit->hasSelectedText())
        return TypedEntry::partAt(text, edit->cursorPosition());
    if (edit->selectedText().size() < text.size())
        return TypedEntry::partAt(text, edit->selectionStart());
    // All selected: the part that was clicked, or the first one as after Tab.
    return m_clickedAt >= 0 ? TypedEntry::partAt(text, m_clickedAt) : 0;
}

void TypedField::stepBy(int steps) {
    m_selectOnRelease = false;
    const int part = partToStep();
    const auto next = stepped(lineEdit()->text(), part, steps);
    if (!next)
        return;
    lineEdit()->setText(*next);
    // The changed part stays selected, as Up and Down are usually pressed more than once.
    const auto [start, length] = TypedEntry::partSpan(*next, part);
    if (start >= 0)
        lineEdit()->setSelection(start, length);
    m_clickedAt = -1;
}

QAbstractSpinBox::StepEnabled TypedField::stepEnabled() const {
    if (isReadOnly())
        return StepNone;
    const QString text = lineEdit()->text();
    const int part = partToStep();
    StepEnabled enabled = StepNone;
    if (stepped(text, part, 1))
        enabled |= StepUpEnabled;
    if (stepped(text, part, -1))
        enabled |= StepDownEnabled;
    return enabled;
}

QSize TypedField::sizeHint() const {
    ensurePolished();
    // The spin box sizes itself from values it does not know here; the widest text stands in.
    const int width = fontMetrics().horizontalAdvance(widestText() + u' ') + 2;
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option,
                                     QSize(width, lineEdit()->sizeHint().height()), this);
}

QSize TypedField::minimumSizeHint() const {
    return sizeHint();
}

void TypedField::focusInEvent(QFocusEvent *event) {
    QAbstractSpinBox::focusInEvent(event);
    m_clickedAt = -1;
    switch (event->reason()) {
    case Qt::MouseFocusReason:
        // The press that brought the focus places the cursor; the release then selects all.
        m_selectOnRelease = true;
        break;
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        selectAll();
        break;
    default:
        // The window came back, or a pop-up of the field closed: the selection stays.
        break;
    }
}

bool TypedField::keepsFocusOnLeaving(Qt::FocusReason reason) const {
    switch (reason) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        break;
    default:
        // Another window or a pop-up: the clerk has not left the field.
        return false;
    }
    // The focus goes to another control of this window; a window closing takes it nowhere.
    const QWidget *next = QApplication::focusWidget();
    return next && next != this && next->window() == window() && window()->isVisible() &&
           isVisible();
}

void TypedField::focusOutEvent(QFocusEvent *event) {
    QAbstractSpinBox::focusOutEvent(event);
    m_selectOnRelease = false;
    const QString text = lineEdit()->text();
    if (readable(text)) {
        // What was typed, written the way the field shows it ("3.1.2027" as 03.01.2027).
        const QString shown = canonical(text);
        if (shown != text)
            lineEdit()->setText(shown);
        return;
    }
    if (g_takingFocusBack || !keepsFocusOnLeaving(event->reason()))
        return;
    g_takingFocusBack = true;
    setFocus(Qt::OtherFocusReason);
    g_takingFocusBack = false;
    if (event->reason() == Qt::MouseFocusReason) {
        // The click that left is still on its way, and a click closes a hint: after it.
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && hasFocus() && !hasValue())
                complain();
        });
    } else {
        complain();
    }
}

void TypedField::complain() {
    FieldHint::show(problem(), this);
}

bool TypedField::eventFilter(QObject *watched, QEvent *event) {
    if (watched == lineEdit()) {
        if (event->type() == QEvent::MouseButtonPress && !m_selectOnRelease) {
            m_clickedAt = -1;
        } else if (event->type() == QEvent::MouseButtonRelease && m_selectOnRelease &&
                   static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_selectOnRelease = false;
            // A drag that selected part of the text keeps its selection.
            if (!lineEdit()->hasSelectedText()) {
                const int clicked = lineEdit()->cursorPosition();
                selectAll();
                m_clickedAt = clicked;
            }
        }
    }
    return QAbstractSpinBox::eventFilter(watched, event);
}

} // namespace velmora
