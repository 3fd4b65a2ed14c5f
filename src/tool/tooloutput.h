// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

namespace velmora {

// What velmora-tool and its report helper say, and how they end: exit status 0 done, 1 an
// error (its message on stderr), 2 wrong usage.
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
    static void flushOut();
    // The command's status, or kFailed with the message of whatever error ended it.
    static int guarded(const std::function<int()> &command);
};

} // namespace velmora
