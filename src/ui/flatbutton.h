// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QColor>

namespace velmora {

// A flat button painted in the colours its window chooses: a face that lights up under the
// mouse (hot-tracking), darkens while pressed and shows a light and a shadow edge.
// It takes no keyboard focus unless its window gives it a focus policy; with the focus it
// shows a dotted frame inside its edges.
class FlatButton : public QAbstractButton {
    Q_OBJECT

public:
    struct Colors {
        QColor face;
        QColor pressed;
        QColor hot;
        QColor lightEdge;
        QColor shadowEdge;
        QColor text = Qt::white;
    };

    explicit FlatButton(const QString &text, QWidget *parent = nullptr);

    void setColors(const Colors &colors);
    const Colors &colors() const { return m_colors; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    Colors m_colors;
};

} // namespace velmora
