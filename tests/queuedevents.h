// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <QTest>

// Delivers every event queued so far. A marker posted now arrives only after what was posted
// before it, so once it has arrived, whatever those events were to do has been done: a test
// that checks that something did not happen checks after this, never after a delay.
[[nodiscard]] inline bool deliverQueuedEvents() {
    bool arrived = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&arrived] { arrived = true; }, Qt::QueuedConnection);
    return QTest::qWaitFor([&arrived] { return arrived; });
}
