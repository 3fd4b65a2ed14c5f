// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/errorbox.h"

#include <QApplication>
#include <QMessageBox>

namespace velmora {

namespace {

ErrorBox::Handler &handler() {
    static ErrorBox::Handler h;
    return h;
}

} // namespace

void ErrorBox::show(const QString &message) {
    if (handler()) {
        handler()(message);
        return;
    }
    // Over the active window and above the windows that stay on top (the splash, the progress
    // window), so that the box is never covered while it waits for its answer.
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), message,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void ErrorBox::setHandler(Handler h) {
    handler() = std::move(h);
}

} // namespace velmora
