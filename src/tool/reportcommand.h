// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace velmora {

// "report PROGRAMDIR FROM TO OUT.pdf" as velmora-report does it, for velmora-tool
// (ReportHelper): the summary of the period, painted into OUT.pdf.
class ReportCommand {
public:
    static int paint(const QStringList &args);
};

} // namespace velmora
