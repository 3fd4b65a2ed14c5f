// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/hintstyle.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPalette>
#include <QToolTip>
#include <QWidget>

namespace velmora {

namespace {

// Qt times a hint by the length of its text; every hint of the program stays the same time.
class HintTimer : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->toolTip().isEmpty())
            return false;
        const auto *help = static_cast<QHelpEvent *>(event);
        QToolTip::showText(help->globalPos(), widget->toolTip(), widget, {}, HintStyle::kDisplayMs);
        return true;
    }
};

} // namespace

void HintStyle::install(QApplication &application) {
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, Qt::white);
    palette.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(palette);
    application.installEventFilter(new HintTimer(&application));
}

} // namespace velmora
