// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/cylinderbar.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace velmora {

CylinderBar::CylinderBar(QWidget *parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("Bar"));
    setMaximum(100);
    setPosition(50);
}

int CylinderBar::innerLength() const {
    return std::max(0, width() - 2 * kBorder);
}

void CylinderBar::setMaximum(int maximum) {
    m_maximum = std::max(0, maximum);
    update();
}

void CylinderBar::setPosition(int position) {
    m_position = position;
    if (m_maximum != 0) {
        if (position <= 0) {
            m_filled = 0;
        } else {
            const double share = static_cast<double>(std::min(position, m_maximum)) / m_maximum;
            // Halves to even, as the platform's rounding does.
            m_filled = static_cast<int>(std::nearbyint(share * innerLength()));
        }
    }
    update();
}

void CylinderBar::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = 4;

    // The empty tube: dark ground with a faint rim.
    painter.setPen(QPen(QColor(0x20, 0x28, 0x50), 1));
    painter.setBrush(QColor(0x00, 0x00, 0x40));
    painter.drawRoundedRect(outer, radius, radius);

    const QRectF inner = QRectF(rect()).adjusted(kBorder, kBorder, -kBorder, -kBorder);
    if (m_filled > 0) {
        const QRectF fill(inner.left(), inner.top(), std::min<qreal>(m_filled, inner.width()),
                          inner.height());
        QPainterPath shape;
        shape.addRoundedRect(fill, radius - 1, radius - 1);
        painter.save();
        painter.setClipPath(shape);
        // Colour along the length, from the bar colour to the light end.
        QLinearGradient along(inner.left(), 0, inner.right(), 0);
        along.setColorAt(0, QColor(0x45, 0x57, 0x74));
        along.setColorAt(1, QColor(0x00, 0xCC, 0xCC));
        painter.fillRect(fill, along);
        // Round body: darker towards the bottom edge.
        QLinearGradient body(0, fill.top(), 0, fill.bottom());
        body.setColorAt(0, QColor(0, 0, 0, 0));
        body.setColorAt(0.55, QColor(0, 0, 0, 0));
        body.setColorAt(1, QColor(0, 0, 0, 110));
        painter.fillRect(fill, body);
        // Glass: a soft highlight over the upper half.
        QLinearGradient glass(0, fill.top(), 0, fill.center().y());
        glass.setColorAt(0, QColor(255, 255, 255, 170));
        glass.setColorAt(1, QColor(255, 255, 255, 30));
        painter.fillRect(QRectF(fill.left(), fill.top(), fill.width(), fill.height() / 2), glass);
        painter.restore();
    }
    // The glass over the whole tube, full or empty.
    QLinearGradient shine(0, inner.top(), 0, inner.bottom());
    shine.setColorAt(0, QColor(255, 255, 255, 45));
    shine.setColorAt(0.45, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shine);
    painter.drawRoundedRect(inner, radius - 1, radius - 1);
}

} // namespace velmora
