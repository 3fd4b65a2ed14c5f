// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Answers a modal window from the event loop: runs the action once the window is the active
// modal one. The wait belongs to the window, so it ends with it instead of polling a window
// that is gone; should the window never show, it is given up after a while so that the test
// fails on its checks instead of hanging.
inline void answerWhenShown(QWidget *window, std::function<void()> action) {
    auto *timer = new QTimer(window);
    timer->setInterval(5);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [=]() {
        if (window->isVisible() && QApplication::activeModalWidget() == window) {
            timer->stop();
            timer->deleteLater();
            action();
        } else if (++*waited > 1000) {
            timer->stop();
            timer->deleteLater();
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        }
    });
    timer->start();
}
