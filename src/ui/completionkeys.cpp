// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/completionkeys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>
#include <utility>

namespace velmora {

namespace {

bool isEnter(const QKeyEvent *key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

bool isEscape(const QKeyEvent *key) {
    return key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier;
}

} // namespace

CompletionKeys *CompletionKeys::attach(QComboBox *combo) {
    Q_ASSERT(combo->completer());
    return new CompletionKeys(combo);
}

CompletionKeys::CompletionKeys(QComboBox *combo)
    : QObject(combo)
    // Asking for the lists makes them, each with its owner's filter on it; the filters set
    // here come later and so see every event first.
    , m_combo(combo)
    , m_suggestions(combo->completer()->popup())
    , m_dropDown(combo->view()) {
    watch(m_suggestions);
    watch(m_dropDown);
    // Where the key after a drop-down list's override goes to the field.
    watch(combo);
    // The drop-down list stands in a frame of its own, which gets the clicks outside it.
    if (m_dropDown->window() != m_dropDown)
        watch(m_dropDown->window());
}

void CompletionKeys::watch(QObject *object) {
    object->installEventFilter(this);
}

bool CompletionKeys::eventFilter(QObject *watched, QEvent *event) {
    // The field is asked for only on the events answered here: the others also come while
    // the field is being destroyed, when it is no longer a combo box.
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        break;
    default:
        return false;
    }
    if (m_passing || !m_combo)
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        if (watched == m_dropDown && m_dropDown->isVisible())
            return overrideInDropDown(static_cast<QKeyEvent *>(event));
        return false;
    case QEvent::KeyPress:
        if (watched == m_suggestions || watched == m_dropDown)
            return keyInList(static_cast<QAbstractItemView *>(watched),
                             static_cast<QKeyEvent *>(event));
        if (watched == m_combo)
            return keyAfterDropDown(static_cast<QKeyEvent *>(event));
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (watched == m_suggestions || watched == m_dropDown->window())
            return pressOutside(static_cast<QWidget *>(watched), static_cast<QMouseEvent *>(event));
        return false;
    default:
        return false;
    }
}

bool CompletionKeys::overrideInDropDown(QKeyEvent *key) {
    // Enter and Esc reach the open drop-down list first as a shortcut override, and the list
    // closes there; the key itself follows, to the closed list or to the field, depending on
    // the window system.
    m_overridden = 0;
    if (isEnter(key)) {
        // The list takes the highlighted item and closes; the key that follows moves on.
        m_overridden = key->key();
        return false;
    }
    if (!isEscape(key))
        return false;
    closeList(m_dropDown);
    Q_EMIT dismissed();
    key->accept();
    m_overridden = key->key();
    return true;
}

bool CompletionKeys::keyAfterDropDown(QKeyEvent *key) {
    const int overridden = std::exchange(m_overridden, 0);
    // The Esc that closed the list is spent; an Enter goes on to the window as any Enter.
    return overridden == key->key() && isEscape(key);
}

bool CompletionKeys::keyInList(QAbstractItemView *list, QKeyEvent *key) {
    const bool overridden = list == m_dropDown && std::exchange(m_overridden, 0) == key->key();
    if (!(isEnter(key) || isEscape(key)) || !(list->isVisible() || overridden))
        return false;
    if (isEscape(key)) {
        if (overridden)
            return true;
        closeList(list);
        Q_EMIT dismissed();
        return true;
    }
    // The list first: it takes the highlighted item, as it does for Enter on its own.
    if (list->isVisible()) {
        m_passing = true;
        if (list == m_dropDown) {
            QKeyEvent choose(QEvent::ShortcutOverride, key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(list, &choose);
        } else {
            QCoreApplication::sendEvent(list, key);
        }
        m_passing = false;
        // Nothing highlighted: the text stays as typed.
        closeList(list);
    }
    // Then Enter goes to the field, where the window sees it as it sees any Enter.
    if (m_combo && m_combo->isVisible()) {
        QKeyEvent again(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
        QCoreApplication::sendEvent(m_combo, &again);
    }
    return true;
}

void CompletionKeys::closeList(QAbstractItemView *list) {
    if (!list->isVisible())
        return;
    if (list == m_dropDown && m_combo)
        m_combo->hidePopup();
    else
        list->hide();
}

bool CompletionKeys::pressOutside(QWidget *popup, QMouseEvent *mouse) {
    const QPointF global = mouse->globalPosition();
    if (popup->rect().contains(popup->mapFromGlobal(global).toPoint()))
        return false;
    // A click on the combo box's own arrow closes its drop-down list, as always.
    QWidget *target = QApplication::widgetAt(global.toPoint());
    if (popup != m_suggestions && (target == m_combo || m_combo->isAncestorOf(target)))
        return false;
    // The click is delivered here, below; the replay of a closing pop-up would deliver it again.
    popup->setAttribute(Qt::WA_NoMouseReplay);
    closeList(popup == m_suggestions ? m_suggestions : m_dropDown);
    QWidget *window = m_combo->window();
    if (!target || target->window() != window || !window->windowHandle())
        return true;
    // The focus first, as a click gives it, then the press itself, through the window so that
    // its release reaches the same control (a button clicked while the list showed is pressed).
    for (QWidget *w = target; w; w = w->parentWidget()) {
        const QWidget *taker = w;
        while (taker->focusProxy())
            taker = taker->focusProxy();
        if (w->isEnabled() && (taker->focusPolicy() & Qt::ClickFocus)) {
            w->setFocus(Qt::MouseFocusReason);
            break;
        }
        if (w->isWindow())
            break;
    }
    QWindow *handle = window->windowHandle();
    const QPointF local = handle->mapFromGlobal(global);
    QMouseEvent press(mouse->type(), local, local, global, mouse->button(), mouse->buttons(),
                      mouse->modifiers(), mouse->pointingDevice());
    QCoreApplication::sendEvent(handle, &press);
    return true;
}

} // namespace velmora
