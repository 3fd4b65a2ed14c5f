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
    window.move(frame.topLeft());
}

int Modal::exec(QDialog &dialog) {
    centreOnScreen(dialog);
    return dialog.exec();
}

} // namespace velmora
