// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/keypreview.h"

#include "ui/entertab.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

namespace velmora {

KeyPreview::KeyPreview(QWidget *window)
    : QObject(window)
    , m_window(window) {
    watch(window);
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *child : children)
        watch(child);
}

bool KeyPreview::isEnter(const QKeyEvent *event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

bool KeyPreview::pressFocusedButton(QWidget *target) {
    // A focused button takes Enter as it takes Space: the user reads the focus frame as the
    // choice that Enter makes. Without this a dialog presses its default button instead (so
    // Enter on "Renunt" would confirm), and an editor moves on to the next field.
    auto *button = qobject_cast<QAbstractButton *>(target);
    if (!button || !(qobject_cast<QPushButton *>(button) || qobject_cast<QToolButton *>(button)))
        return false;
    if (button->isEnabled())
        button->click();
    return true;
}

void KeyPreview::watch(QObject *object) {
    object->removeEventFilter(this);
    object->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::ChildAdded) {
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child->isWidgetType())
            watch(child);
        return false;
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;

    auto *target = static_cast<QWidget *>(watched);
    if (target->window() != m_window)
        return false;
    // A key that the focused control ignores travels on to its parents: it has been previewed
    // already when it arrived at the control.
    const QWidget *focus = m_window->focusWidget();
    if (focus ? target != focus : target != m_window)
        return false;

    auto *key = static_cast<QKeyEvent *>(event);
    if (m_handler && m_handler(target, key))
        return true;
    if (isEnter(key) && pressFocusedButton(target))
        return true;
    if (m_escapeCloses && key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
        m_window->close();
        return true;
    }
    if (m_enterMovesFocus && isEnter(key)) {
        EnterTab::focusNext(target);
        return true;
    }
    return false;
}

} // namespace velmora
