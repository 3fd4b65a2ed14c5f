// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/gradientpanel.h"

#include <QPainter>

namespace velmora {

GradientPanel::GradientPanel(QWidget *parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientPanel::setColors(const QColor &first, const QColor &last) {
    m_first = first;
    m_last = last;
    m_fromMiddle = false;
    update();
}

void GradientPanel::setMiddleColors(const QColor &middle, const QColor &edges) {
    m_first = middle;
    m_last = edges;
    m_fromMiddle = true;
    update();
}

void GradientPanel::setDirection(Gradient::Direction direction) {
    m_direction = direction;
    update();
}

void GradientPanel::setStripes(int stripes) {
    m_stripes = stripes;
    update();
}

void GradientPanel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    if (m_fromMiddle)
        Gradient::paintFromMiddle(painter, rect(), m_first, m_last, m_direction, m_stripes);
    else
        Gradient::paint(painter, rect(), m_first, m_last, m_direction, m_stripes);
}

} // namespace velmora
