// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool/tooloutput.h"

#include "store/dbf/platform.h"
#include "store/text/error.h"

#include <QByteArray>
#include <cstdio>
#include <exception>

namespace velmora {

namespace {

[[noreturn]] void outputFailed() {
    throw FileError(
        QStringLiteral("Iesirea standard nu poate fi scrisa: %1.").arg(Platform::lastReason()));
}

} // namespace

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
    writeOut(line.toUtf8() + '\n');
}

void ToolOutput::writeOut(QByteArrayView bytes) {
    const auto size = static_cast<size_t>(bytes.size());
    if (std::fwrite(bytes.data(), 1, size, stdout) != size)
        outputFailed();
}

void ToolOutput::flushOut() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        outputFailed();
}

int ToolOutput::guarded(const std::function<int()> &command) {
    // A reader that stops reading (a pipe into head) must not end the tool by a signal, with
    // no word said and a status that a script may not look at.
    Platform::reportBrokenPipes();
    try {
        const int status = command();
        flushOut();
        return status;
    } catch (...) {
        printErr(userMessage(std::current_exception()));
    }
    return kFailed;
}

} // namespace velmora
