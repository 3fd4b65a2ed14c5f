// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace velmora {

// Lets a window see every key pressed in it before the control with the focus does.
// The window's handler runs first; what it does not consume gets the shared behaviour: Enter
// on a focused button presses that button, and as switched on here Esc closes the window and
// Enter moves to the next field. The rest goes on to the control (Enter in a field of a
// dialog presses its default button). Controls added to the window later are covered too.
class KeyPreview : public QObject {
    Q_OBJECT

public:
    // target: the control the key was pressed in. Returns true when the key is consumed.
    using Handler = std::function<bool(QWidget *target, QKeyEvent *event)>;

    explicit KeyPreview(QWidget *window);

    void setHandler(Handler handler) { m_handler = std::move(handler); }
    void setEscapeCloses(bool on) { m_escapeCloses = on; }
    void setEnterMovesFocus(bool on) { m_enterMovesFocus = on; }

    static bool isEnter(const QKeyEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QObject *object);
    static bool pressFocusedButton(QWidget *target);

    QWidget *m_window;
    Handler m_handler;
    bool m_escapeCloses = true;
    bool m_enterMovesFocus = false;
};

} // namespace velmora
