// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-report: velmora-tool's "report" command, in a program of its own because it needs
// the GUI libraries. Started by velmora-tool with the command's arguments.
#include "tool/reportcommand.h"
#include "tool/tooloutput.h"

#include <QGuiApplication>

using namespace velmora;

int main(int argc, char *argv[]) {
    // The report is painted with fonts, which want a GUI application; no window is opened,
    // so no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Velmora v.1.01"));
    return ToolOutput::guarded(
        [] { return ReportCommand::paint(QCoreApplication::arguments().mid(1)); });
}
