// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Starts the lock holder (lockholder.cpp) as a second process and waits until it holds the
// data lock.

#include <QProcess>
#include <QString>
#include <memory>

inline std::unique_ptr<QProcess> holdLockElsewhere(const QString &dataDir, const char *mode) {
    auto holder = std::make_unique<QProcess>();
    holder->start(QStringLiteral(VELMORA_LOCKHOLDER), {dataDir, QString::fromLatin1(mode)});
    if (!holder->waitForStarted(5000))
        return nullptr;
    while (!holder->canReadLine()) {
        if (!holder->waitForReadyRead(5000))
            return nullptr;
    }
    if (holder->readLine().trimmed() != "held")
        return nullptr;
    return holder;
}

// Lets the holder go: it ends when its standard input closes.
inline void releaseLock(QProcess &holder) {
    holder.closeWriteChannel();
    holder.waitForFinished(5000);
}
