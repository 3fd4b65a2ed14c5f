// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/hintplacement.h"

#include <QPointer>
#include <QWidget>

class QPainterPath;
class QTimer;

namespace velmora {

// The balloon of a field hint: a rounded box with a pointer whose tip touches a corner of
// the control, an error picture, the title "Problema !" and the text. It shows without
// taking the activation from the window under it, so that window keeps looking active and
// keeps the keys, and it destroys itself when its time is up, when it is clicked, when the
// user clicks anywhere else or another window takes the focus.
class HintBalloon : public QWidget {
    Q_OBJECT

public:
    static constexpr int kLifetime = 5000;
    static constexpr int kFadeIn = 50;
    static constexpr int kPreferredWidth = 300;
    static constexpr int kNarrowStep = 10;
    static constexpr int kPointer = 20;
    static constexpr int kPointerOffset = 20;
    static constexpr int kRadius = 7;

    HintBalloon(const QString &text, QWidget *control);
    ~HintBalloon() override;

    // Places the balloon beside the control and shows it with its fade-in.
    void popUp();

    QString text() const { return m_text; }
    QWidget *control() const { return m_control; }
    HintPlacement::Corner corner() const { return m_corner; }
    QSize contentSize() const { return m_content; }
    // The width the text was laid out at: the preferred width, or less where the room is short.
    int layoutWidth() const { return m_width; }
    // Runs for the balloon's life; a test may shorten it.
    QTimer *lifetime() const { return m_lifetime; }

    // The content's size when laid out at the given width.
    QSize contentAt(int width) const;

    // Closes and destroys the balloon; later calls do nothing.
    void release();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRect bodyRect() const;
    QPainterPath outline() const;
    void updateShape();

    QString m_text;
    QPointer<QWidget> m_control;
    QPointer<QWindow> m_activeWindow;
    QTimer *m_lifetime;
    HintPlacement::Corner m_corner = HintPlacement::TopLeft;
    QSize m_content;
    int m_width = kPreferredWidth;
    // The pointer's vertical side, in the balloon's own coordinates.
    int m_pointerX = kPointerOffset;
    bool m_released = false;
};

} // namespace velmora
