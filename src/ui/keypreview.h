#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace velmora {

// Lets a window see every key pressed in it before the control with the focus does.
// The window's handler runs first; what it does not consume gets the shared behaviour
// switched on here (Esc closes the window, Enter moves to the next field), and the rest
// goes on to the control. Controls added to the window later are covered as well.
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

    QWidget *m_window;
    Handler m_handler;
    bool m_escapeCloses = true;
    bool m_enterMovesFocus = false;
};

} // namespace velmora
