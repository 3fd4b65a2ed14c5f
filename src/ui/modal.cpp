// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/modal.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

namespace velmora {

void Modal::centreOnScreen(QWidget &window) {
    QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The frame is not known before the first showing; the client area is close enough then.
    QRect frame = window.frameGeometry();
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
}

void Modal::centreOver(QWidget &window, const QWidget &over) {
    QRect frame = window.frameGeometry();
    frame.moveCenter(over.frameGeometry().center());
    QScreen *screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = over.screen() ? over.screen() : QGuiApplication::primaryScreen();
    if (screen) {
        // A window over one near an edge would stand partly off the screen, its text cut.
        const QRect area = screen->availableGeometry();
        frame.moveLeft(qBound(area.left(), frame.left(), area.right() - frame.width() + 1));
        frame.moveTop(qBound(area.top(), frame.top(), area.bottom() - frame.height() + 1));
    }
    window.move(frame.topLeft());
}

int Modal::exec(QDialog &dialog) {
    centreOnScreen(dialog);
    return dialog.exec();
}

} // namespace velmora
