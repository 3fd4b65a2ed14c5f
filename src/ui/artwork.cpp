// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/artwork.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace velmora {

namespace {

QImage canvas(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Pictures are drawn on a 32 x 32 grid and scaled to the size asked for.
void toGrid(QPainter &painter, int size) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(size / 32.0, size / 32.0);
}

QFont glyphFont(int pixels) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

QPixmap bubble(int size, const QString &glyph) {
    QImage image = canvas(size);
    QPainter painter(&image);
    toGrid(painter, size);
    QLinearGradient ground(0, 0, 0, 32);
    ground.setColorAt(0, QColor(0x3C, 0x6E, 0xE6));
    ground.setColorAt(1, QColor(0x10, 0x30, 0xA8));
    painter.setPen(QPen(QColor(0x08, 0x1C, 0x70), 1));
    painter.setBrush(ground);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 4, 4);

    QPainterPath shape;
    shape.addEllipse(QRectF(3, 3, 26, 21));
    QPainterPath tail;
    tail.moveTo(9, 19);
    tail.lineTo(6, 29);
    tail.lineTo(16, 22);
    tail.closeSubpath();
    shape = shape.united(tail);
    painter.setPen(QPen(QColor(0x00, 0x10, 0x50), 1));
    painter.setBrush(Qt::white);
    painter.drawPath(shape);

    painter.setPen(QColor(0x00, 0x00, 0x80));
    painter.setFont(glyphFont(17));
    painter.drawText(QRectF(3, 3, 26, 21), Qt::AlignCenter, glyph);
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace

QPixmap Artwork::warning(int size) {
    QImage image = canvas(size);
    QPainter painter(&image);
    toGrid(painter, size);
    painter.setPen(QPen(QColor(0x1C, 0x1B, 0x10), 1));
    painter.setBrush(QColor(0x4A, 0x47, 0x2A));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 4, 4);

    QPainterPath triangle;
    triangle.moveTo(16, 3);
    triangle.lineTo(30, 28);
    triangle.lineTo(2, 28);
    triangle.closeSubpath();
    QLinearGradient yellow(0, 3, 0, 28);
    yellow.setColorAt(0, QColor(0xFF, 0xF1, 0x5A));
    yellow.setColorAt(1, QColor(0xF2, 0xC2, 0x00));
    painter.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(yellow);
    painter.drawPath(triangle);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRectF(14.4, 10, 3.2, 11), 1.4, 1.4);
    painter.drawEllipse(QRectF(14.2, 22.2, 3.6, 3.6));
    painter.end();
    return QPixmap::fromImage(image);
}

QPixmap Artwork::information(int size) {
    return bubble(size, QStringLiteral("i"));
}

QPixmap Artwork::question(int size) {
    return bubble(size, QStringLiteral("?"));
}

QPixmap Artwork::error(int size) {
    QImage image = canvas(size);
    QPainter painter(&image);
    toGrid(painter, size);
    QRadialGradient red(QPointF(12, 10), 22);
    red.setColorAt(0, QColor(0xFF, 0x60, 0x50));
    red.setColorAt(1, QColor(0xC0, 0x00, 0x00));
    painter.setPen(QPen(QColor(0x80, 0x00, 0x00), 1.2));
    painter.setBrush(red);
    painter.drawEllipse(QRectF(1, 1, 30, 30));

    painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    painter.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace velmora
