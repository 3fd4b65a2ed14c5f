// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/flatbutton.h"

#include "ui/look.h"

#include <QPainter>

namespace velmora {

FlatButton::FlatButton(const QString &text, QWidget *parent)
    : QAbstractButton(parent) {
    setText(text);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setFont(Look::dialogFont(8, true));
    setAttribute(Qt::WA_Hover);
}

void FlatButton::setColors(const Colors &colors) {
    m_colors = colors;
    update();
}

QSize FlatButton::sizeHint() const {
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, this->text());
    return QSize(text.width() + 24, text.height() + 10);
}

void FlatButton::enterEvent(QEnterEvent *event) {
    update();
    QAbstractButton::enterEvent(event);
}

void FlatButton::leaveEvent(QEvent *event) {
    update();
    QAbstractButton::leaveEvent(event);
}

void FlatButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const bool down = isDown();
    const bool hot = underMouse() && isEnabled();
    const QRect r = rect();
    painter.fillRect(r, down ? m_colors.pressed : hot ? m_colors.hot : m_colors.face);

    // Raised edges at rest and under the mouse, sunken while pressed.
    const QColor topLeft = down ? m_colors.shadowEdge : m_colors.lightEdge;
    const QColor bottomRight = down ? m_colors.lightEdge : m_colors.shadowEdge;
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());

    if (hasFocus()) {
        // Where the keyboard stands, in the caption's colour so that every kind shows it.
        QPen dots(m_colors.text, 1, Qt::DotLine);
        painter.setPen(dots);
        painter.drawRect(r.adjusted(3, 3, -4, -4));
    }

    painter.setPen(isEnabled() ? m_colors.text : m_colors.text.darker(160));
    const QRect label = down ? r.translated(1, 1) : r;
    painter.drawText(label, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

} // namespace velmora
