// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/gradient.h"

#include <QWidget>

namespace velmora {

// A panel that paints a striped gradient as its whole background.
class GradientPanel : public QWidget {
    Q_OBJECT

public:
    explicit GradientPanel(QWidget *parent = nullptr);

    // Plain shading: `first` at the left (top) edge, `last` at the right (bottom) edge.
    void setColors(const QColor &first, const QColor &last);
    // Shading from the centre line out: `middle` there, `edges` at both edges.
    void setMiddleColors(const QColor &middle, const QColor &edges);
    void setDirection(Gradient::Direction direction);
    void setStripes(int stripes);

    // For the middle shading, first is the middle colour and last the edge colour.
    QColor firstColor() const { return m_first; }
    QColor lastColor() const { return m_last; }
    bool fromMiddle() const { return m_fromMiddle; }
    Gradient::Direction direction() const { return m_direction; }
    int stripes() const { return m_stripes; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_first = Qt::white;
    QColor m_last = Qt::white;
    bool m_fromMiddle = false;
    Gradient::Direction m_direction = Gradient::Direction::LeftToRight;
    int m_stripes = 64;
};

} // namespace velmora
