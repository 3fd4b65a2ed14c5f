// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-report: velmora-tool's "report" command, in a program of its own because it needs
// the GUI libraries. Started by velmora-tool with the command's arguments.
#include "tool/reportcommand.h"
#include "tool/tooloutput.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <optional>

using namespace velmora;

int main(int argc, char *argv[]) {
    // The report is painted with fonts, which want a GUI application; no window is opened,
    // so no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The GUI application asks for the user's runtime folder, which a scheduled job (cron)
    // has none of; Qt would then warn on stderr, and a scheduler mails whatever a job says.
    // Such a run gets a private one of its own (made for this user only), removed at the end.
    std::optional<QTemporaryDir> runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtimeDir.emplace(QDir::tempPath() + QStringLiteral("/velmora-report-XXXXXX"));
        if (runtimeDir->isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir->path()));
    }
    const QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Velmora v.1.01"));
    return ToolOutput::guarded(
        [] { return ReportCommand::paint(QCoreApplication::arguments().mid(1)); });
}
