// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Running velmora-tool (or its report helper) from a test: one environment, one way to wait,
// one way to collect the exit status and both outputs.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace velmora::test {

// What one run gave back; code is -1 when the process crashed.
struct ToolRun {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// The system's environment with the user's home and settings in home, so that no run reads
// or writes the real ones, and without the sanitizers' leak check: the tool ends through
// exit(), which leaves Qt's globals for the system to free.
inline QProcessEnvironment toolEnvironment(const QString &home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    return env;
}

// Starts program; a program that cannot start ends the test run, as nothing after it could
// mean anything.
inline void startTool(QProcess &process, const QString &program, const QStringList &args,
                      const QProcessEnvironment &env) {
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForStarted())
        qFatal("%s does not start", qPrintable(program));
}

// Waits for a started run to end and collects what it gave.
inline ToolRun finishTool(QProcess &process) {
    if (!process.waitForFinished(120000))
        qFatal("%s does not finish", qPrintable(process.program()));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// Runs program with args and input on its standard input, which is then closed.
inline ToolRun runTool(const QString &program, const QStringList &args,
                       const QProcessEnvironment &env, const QByteArray &input = {}) {
    QProcess process;
    startTool(process, program, args, env);
    process.write(input);
    process.closeWriteChannel();
    return finishTool(process);
}

} // namespace velmora::test
