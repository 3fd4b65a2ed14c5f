// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/recordsartwork.h"

#include <QPainter>
#include <QPainterPath>

namespace velmora {

namespace {

void mark(QPainter &p, RecordsArtwork::Action action, int size) {
    const qreal s = size;
    const QRectF badge(s * 0.48, s * 0.48, s * 0.5, s * 0.5);
    switch (action) {
    case RecordsArtwork::Action::Add:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1E, 0x9E, 0x3A));
        p.drawEllipse(badge);
        p.setPen(QPen(Qt::white, s * 0.09, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(badge.center().x(), badge.top() + s * 0.1),
                   QPointF(badge.center().x(), badge.bottom() - s * 0.1));
        p.drawLine(QPointF(badge.left() + s * 0.1, badge.center().y()),
                   QPointF(badge.right() - s * 0.1, badge.center().y()));
        break;
    case RecordsArtwork::Action::Change: {
        p.setPen(QPen(QColor(0x80, 0x50, 0x10), s * 0.04));
        p.setBrush(QColor(0xF2, 0xC1, 0x2E));
        QPainterPath pencil;
        pencil.moveTo(s * 0.95, s * 0.45);
        pencil.lineTo(s * 0.62, s * 0.95);
        pencil.lineTo(s * 0.50, s * 0.98);
        pencil.lineTo(s * 0.52, s * 0.85);
        pencil.lineTo(s * 0.85, s * 0.38);
        pencil.closeSubpath();
        p.drawPath(pencil);
        break;
    }
    case RecordsArtwork::Action::Delete:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xD0, 0x10, 0x10));
        p.drawEllipse(badge);
        p.setPen(QPen(Qt::white, s * 0.09, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(badge.topLeft() + QPointF(s * 0.14, s * 0.14),
                   badge.bottomRight() - QPointF(s * 0.14, s * 0.14));
        p.drawLine(badge.topRight() + QPointF(-s * 0.14, s * 0.14),
                   badge.bottomLeft() + QPointF(s * 0.14, -s * 0.14));
        break;
    }
}

QPixmap canvas(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap RecordsArtwork::sheet(Action action, int size) {
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(QPen(QColor(0x40, 0x50, 0x6A), s * 0.05));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(s * 0.12, s * 0.05, s * 0.56, s * 0.78));
    p.setPen(QPen(QColor(0x90, 0x9C, 0xB0), s * 0.04));
    for (int i = 0; i < 4; ++i) {
        const qreal y = s * (0.22 + 0.13 * i);
        p.drawLine(QPointF(s * 0.2, y), QPointF(s * 0.6, y));
    }
    mark(p, action, size);
    return pixmap;
}

QPixmap RecordsArtwork::trip(Action action, int size) {
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x36, 0x5F, 0x9C));
    QPainterPath arrow;
    arrow.moveTo(s * 0.05, s * 0.30);
    arrow.lineTo(s * 0.45, s * 0.30);
    arrow.lineTo(s * 0.45, s * 0.12);
    arrow.lineTo(s * 0.78, s * 0.42);
    arrow.lineTo(s * 0.45, s * 0.72);
    arrow.lineTo(s * 0.45, s * 0.54);
    arrow.lineTo(s * 0.05, s * 0.54);
    arrow.closeSubpath();
    p.drawPath(arrow);
    mark(p, action, size);
    return pixmap;
}

QPixmap RecordsArtwork::printer(int size) {
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), s * 0.05));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(s * 0.25, s * 0.05, s * 0.5, s * 0.35));
    p.setBrush(QColor(0x70, 0x78, 0x88));
    p.drawRoundedRect(QRectF(s * 0.05, s * 0.35, s * 0.9, s * 0.4), s * 0.08, s * 0.08);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(s * 0.25, s * 0.6, s * 0.5, s * 0.35));
    return pixmap;
}

} // namespace velmora
