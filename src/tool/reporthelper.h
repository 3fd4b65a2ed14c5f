// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace velmora {

// velmora-tool's "report" command. Painting a PDF needs the GUI libraries, whose loading alone
// would cost every other command of velmora-tool some 8 million instructions and 5 MB at
// start; so velmora-tool hands the command to a program of its own, velmora-report
// (ReportCommand), with the arguments as given.
class ReportHelper {
public:
    // Runs the helper, its output and exit status passed on.
    static int forward(const QStringList &args);

    // Beside velmora-tool (the build tree), then in the installation's libexec/velmora
    // folder; empty when in neither.
    static QString path();
    static QString fileName();
};

} // namespace velmora
