// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/completionkeys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace velmora {

CompletionKeys *CompletionKeys::attach(QComboBox *combo) {
    QCompleter *completer = combo->completer();
    Q_ASSERT(completer);
    // Asking for the list makes it, with the completer's own filter on it; this filter comes
    // later and so sees every event first.
    return new CompletionKeys(combo, completer->popup());
}

CompletionKeys::CompletionKeys(QComboBox *combo, QAbstractItemView *list)
    : QObject(list)
    , m_combo(combo)
    , m_list(list) {
    list->installEventFilter(this);
    // A click outside the list is delivered here and below; Qt's own replay would deliver it
    // a second time.
    list->setAttribute(Qt::WA_NoMouseReplay);
}

bool CompletionKeys::eventFilter(QObject *watched, QEvent *event) {
    if (watched != m_list || m_passing || !m_combo)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressed(event);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return pressedOutside(event);
    default:
        return false;
    }
}

bool CompletionKeys::keyPressed(QEvent *event) {
    auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool escape = key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier;
    if (!enter && !escape)
        return false;
    // The completer first: it closes the list and takes the highlighted suggestion.
    m_passing = true;
    QCoreApplication::sendEvent(m_list, event);
    m_passing = false;
    if (escape) {
        Q_EMIT dismissed();
        return true;
    }
    // Then Enter goes to the field, where the window sees it as it sees any Enter.
    if (m_combo && m_combo->isVisible()) {
        QKeyEvent again(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
        QCoreApplication::sendEvent(m_combo, &again);
    }
    return true;
}

bool CompletionKeys::pressedOutside(QEvent *event) {
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QPointF global = mouse->globalPosition();
    if (m_list->rect().contains(m_list->mapFromGlobal(global).toPoint()))
        return false;
    m_list->hide();
    QWidget *target = QApplication::widgetAt(global.toPoint());
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
    QMouseEvent press(event->type(), local, local, global, mouse->button(), mouse->buttons(),
                      mouse->modifiers(), mouse->pointingDevice());
    QCoreApplication::sendEvent(handle, &press);
    return true;
}

} // namespace velmora
