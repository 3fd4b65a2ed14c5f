// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tnumericedit.h"

#include <QKeyEvent>
#include <QPainter>

namespace velmora {

TNumericEdit::TNumericEdit(QWidget *parent)
    : QLineEdit(parent) {
    setReadOnly(true);
    setText(m_initial);
    QPalette navy = palette();
    navy.setColor(QPalette::Text, QColor(0x00, 0x00, 0x80));
    setPalette(navy);
}

bool TNumericEdit::Intact() const {
    return NumericMask::intact(text(), m_initial);
}

Fixed4 TNumericEdit::Valoare() const {
    return NumericMask::value(text());
}

QChar TNumericEdit::keyOf(const QKeyEvent *event) {
    const int key = event->key();
    switch (key) {
    case Qt::Key_Backspace:
        return QChar(NumericMask::kBackspace);
    case Qt::Key_Delete:
        return QChar(NumericMask::kDelete);
    case Qt::Key_Minus:
        return QChar(NumericMask::kMinus);
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return QChar(NumericMask::kDecimal);
    default:
        break;
    }
    // Keypad digits arrive as the same keys with the keypad modifier.
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return QChar(u'0' + (key - Qt::Key_0));
    return {};
}

NumericMask::State TNumericEdit::state() const {
    NumericMask::State s;
    s.text = text();
    s.caret = cursorPosition();
    if (hasSelectedText()) {
        s.selectionStart = selectionStart();
        s.selectionLength = selectionLength();
    } else {
        s.selectionStart = s.caret;
    }
    return s;
}

void TNumericEdit::keyPressEvent(QKeyEvent *event) {
    if (m_onKeyDown && m_onKeyDown(event))
        return;
    const QChar key = keyOf(event);
    if (key.isNull()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    m_mask.setMaxLength(maxLength());
    const NumericMask::State before = state();
    const NumericMask::State after = m_mask.press(before, key);
    if (after == before)
        return;
    if (after.text != text())
        setText(after.text);
    if (after.selectionLength > 0)
        setSelection(after.selectionStart, after.selectionLength);
    else
        setCursorPosition(after.caret);
}

void TNumericEdit::paintEvent(QPaintEvent *event) {
    QLineEdit::paintEvent(event);
    // A read-only edit hides its caret; this one is typed into, so it shows it.
    if (!hasFocus() || hasSelectedText())
        return;
    QPainter painter(this);
    const QRect caret = cursorRect();
    const int x = caret.center().x();
    painter.setPen(palette().color(QPalette::Text));
    painter.drawLine(x, caret.top() + 1, x, caret.bottom() - 1);
}

} // namespace velmora
