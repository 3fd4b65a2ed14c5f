// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool/tooloutput.h"

#include "store/text/error.h"

#include <QByteArray>
#include <cstdio>
#include <exception>
#include <new>

namespace velmora {

void ToolOutput::printErr(const QString &text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fputc('\n', stderr);
}

int ToolOutput::usage(const QString &problem) {
    printErr(problem);
    printErr(QStringLiteral("Try 'velmora-tool --help'."));
    return kUsage;
}

void ToolOutput::printOut(const QString &line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    if (std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout) !=
        static_cast<size_t>(bytes.size()))
        throw FileError(QStringLiteral("Iesirea standard nu poate fi scrisa."));
}

void ToolOutput::flushOut() {
    if (std::fflush(stdout) != 0)
        throw FileError(QStringLiteral("Iesirea standard nu poate fi scrisa."));
}

int ToolOutput::guarded(const std::function<int()> &command) {
    try {
        return command();
    } catch (...) {
        printErr(userMessage(std::current_exception()));
    }
    return kFailed;
}

} // namespace velmora
