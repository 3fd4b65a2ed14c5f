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
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
}

void ErrorBox::setHandler(Handler h) {
    handler() = std::move(h);
}

} // namespace velmora
