// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>

namespace velmora {

// What velmora-tool and its report helper say, and how they end: exit status 0 done, 1 an
// error (its message on stderr), 2 wrong usage. Everything they print on stdout goes through
// here and is checked: a full disk or a reader that has gone is an error like any other, so
// that a script never takes a cut-off output for a whole one.
class ToolOutput {
public:
    static constexpr int kDone = 0;
    static constexpr int kFailed = 1;
    static constexpr int kUsage = 2;

    static void printErr(const QString &text);
    // The problem and where help is; returns kUsage.
    static int usage(const QString &problem);
    // A line on stdout, in UTF-8; a FileError when stdout cannot take it.
    static void printOut(const QString &line);
    // Bytes on stdout as they are; a FileError when stdout cannot take them.
    static void writeOut(QByteArrayView bytes);
    // Pushes out what stdout still holds; a FileError when it cannot be, or when an earlier
    // write to it failed.
    static void flushOut();
    // The command's status, or kFailed with the message of whatever error ended it, in the
    // user's words; kFailed too when what it printed did not all reach stdout.
    static int guarded(const std::function<int()> &command);
};

} // namespace velmora
