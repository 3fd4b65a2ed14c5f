// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/appartwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace velmora {

namespace {

constexpr int kPicture = 32;

QPixmap blank(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void sheet(QPainter &p, const QRectF &r) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(250, 250, 240));
    p.drawRect(r);
}

// Open, the shackle is lifted out of the body on the right.
void padlock(QPainter &p, bool open) {
    const double left = open ? 11 : 10;
    const double top = open ? 1 : 3;
    p.setPen(QPen(QColor(150, 150, 160), 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    shackle.moveTo(left, 15);
    shackle.lineTo(left, top + 6);
    shackle.arcTo(QRectF(left, top, 12, 12), 180, -180);
    shackle.lineTo(left + 12, open ? 9 : 15);
    p.drawPath(shackle);

    QLinearGradient gold(0, 14, 0, 30);
    gold.setColorAt(0, QColor(255, 220, 90));
    gold.setColorAt(1, QColor(190, 130, 20));
    p.setPen(QPen(QColor(110, 70, 10), 1));
    p.setBrush(gold);
    p.drawRoundedRect(QRectF(6.5, 14.5, 19, 15), 2, 2);
    p.setBrush(QColor(60, 40, 10));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(16, 20.5), 2, 2);
    p.drawRect(QRectF(15.2, 21, 1.6, 5));
}

} // namespace

QPixmap AppArtwork::programIcon(int size) {
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    sheet(p, QRectF(14.5, 2.5, 28, 36));
    p.setPen(QPen(QColor(120, 140, 170), 1.5));
    for (int y = 10; y <= 30; y += 5)
        p.drawLine(QPointF(19, y), QPointF(38, y));
    // The bus.
    QLinearGradient body(0, 22, 0, 42);
    body.setColorAt(0, QColor(255, 200, 40));
    body.setColorAt(1, QColor(220, 120, 0));
    p.setPen(QPen(QColor(90, 50, 0), 1.2));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2.5, 22.5, 30, 17), 3, 3);
    p.setBrush(QColor(170, 210, 240));
    p.setPen(QPen(QColor(40, 60, 90), 1));
    for (int x = 5; x < 28; x += 7)
        p.drawRect(QRectF(x + 0.5, 25.5, 5, 5));
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(QPointF(9, 40), 3.5, 3.5);
    p.drawEllipse(QPointF(26, 40), 3.5, 3.5);
    return pixmap;
}

QPixmap AppArtwork::progressPattern() {
    QPixmap pixmap(2, 18);
    QPainter p(&pixmap);
    QLinearGradient shade(0, 0, 0, 18);
    shade.setColorAt(0, QColor(210, 225, 255));
    shade.setColorAt(0.45, QColor(40, 80, 200));
    shade.setColorAt(1, QColor(10, 30, 110));
    p.fillRect(QRect(0, 0, 2, 18), shade);
    // A darker column every other pixel gives the bar its ribbed look.
    p.fillRect(QRect(1, 0, 1, 18), QColor(0, 0, 40, 50));
    return pixmap;
}

QPixmap AppArtwork::records() {
    QPixmap pixmap = blank(kPicture);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 80), 1));
    p.setBrush(QColor(40, 90, 170));
    p.drawRect(QRectF(4.5, 3.5, 22, 26));
    sheet(p, QRectF(7.5, 3.5, 20, 25));
    p.setPen(QPen(QColor(200, 60, 60), 1));
    p.drawLine(QPointF(12, 4), QPointF(12, 28));
    p.setPen(QPen(QColor(90, 110, 150), 1));
    for (int y = 8; y <= 25; y += 3)
        p.drawLine(QPointF(13, y + 0.5), QPointF(26, y + 0.5));
    return pixmap;
}

QPixmap AppArtwork::report() {
    QPixmap pixmap = blank(kPicture);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    sheet(p, QRectF(4.5, 2.5, 23, 27));
    const QColor colors[] = {QColor(220, 60, 50), QColor(60, 160, 70), QColor(50, 100, 210)};
    const int heights[] = {9, 17, 13};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(colors[i].darker(150), 1));
        p.setBrush(colors[i]);
        p.drawRect(QRectF(8.5 + i * 6, 26.5 - heights[i], 4, heights[i]));
    }
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(7, 26.5), QPointF(26, 26.5));
    return pixmap;
}

QPixmap AppArtwork::padlockOpen() {
    QPixmap pixmap = blank(kPicture);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    padlock(p, true);
    // The key beside it.
    p.setPen(QPen(QColor(120, 90, 10), 1));
    p.setBrush(QColor(240, 200, 60));
    p.drawEllipse(QRectF(22.5, 19.5, 7, 7));
    p.drawRect(QRectF(25, 26, 2, 5));
    p.drawRect(QRectF(27, 28, 2, 1.5));
    return pixmap;
}

QPixmap AppArtwork::padlockClosed() {
    QPixmap pixmap = blank(kPicture);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    padlock(p, false);
    return pixmap;
}

QPixmap AppArtwork::backup() {
    QPixmap pixmap = blank(kPicture);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 20, 40), 1));
    p.setBrush(QColor(50, 70, 140));
    QPainterPath body;
    body.moveTo(4.5, 4.5);
    body.lineTo(24.5, 4.5);
    body.lineTo(28.5, 8.5);
    body.lineTo(28.5, 28.5);
    body.lineTo(4.5, 28.5);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(9.5, 4.5, 13, 8));
    p.setBrush(QColor(50, 70, 140));
    p.drawRect(QRectF(18.5, 5.5, 3, 6));
    p.setBrush(QColor(250, 250, 245));
    p.drawRect(QRectF(8.5, 16.5, 16, 12));
    return pixmap;
}

QPixmap AppArtwork::about() {
    QPixmap pixmap = blank(kPicture);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient disc(QPointF(12, 10), 20);
    disc.setColorAt(0, QColor(120, 170, 255));
    disc.setColorAt(1, QColor(20, 60, 170));
    p.setPen(QPen(QColor(10, 30, 90), 1));
    p.setBrush(disc);
    p.drawEllipse(QRectF(2.5, 2.5, 27, 27));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.3, 2.3);
    p.drawRoundedRect(QRectF(13.8, 13.5, 4.4, 12), 1, 1);
    return pixmap;
}

QPixmap AppArtwork::exit() {
    QPixmap pixmap = blank(kPicture);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 35, 10), 1));
    p.setBrush(QColor(150, 95, 45));
    p.drawRect(QRectF(4.5, 3.5, 14, 25));
    p.setBrush(QColor(240, 200, 60));
    p.drawEllipse(QPointF(15.5, 16.5), 1.3, 1.3);
    // The arrow points out of the door.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 160, 60));
    QPolygonF arrow;
    arrow << QPointF(17, 13) << QPointF(23, 13) << QPointF(23, 8) << QPointF(30, 16)
          << QPointF(23, 24) << QPointF(23, 19) << QPointF(17, 19);
    p.drawPolygon(arrow);
    return pixmap;
}

} // namespace velmora
