// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/entertab.h"

#include <QWidget>

namespace velmora {

bool EnterTab::canTakeFocus(const QWidget *widget) {
    // A widget with a focus proxy stands for another one (the edit inside a combo box or a
    // date field); that one is met on its own in the chain.
    return widget->focusProxy() == nullptr && (widget->focusPolicy() & Qt::TabFocus) &&
           widget->isEnabled() && widget->isVisible();
}

QWidget *EnterTab::focusNext(QWidget *from) {
    if (!from)
        return nullptr;
    QWidget *window = from->window();
    for (QWidget *w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
        // The parts inside a composite control are not fields of their own.
        if (w->window() != window || from->isAncestorOf(w) || !canTakeFocus(w))
            continue;
        w->setFocus(Qt::TabFocusReason);
        return w;
    }
    return nullptr;
}

} // namespace velmora
