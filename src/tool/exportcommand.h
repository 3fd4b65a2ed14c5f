// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace velmora {

// velmora-tool's "export PROGRAMDIR WHAT OUT.csv [--from DATE --to DATE]
// [--by vehicle|driver|month] [--driver TEXT] [--vehicle TEXT] [--standard]": the sheets a
// search of the records window shows, their departures and arrivals, the period summary or
// the profitability report, as CSV in the Romanian spreadsheet dialect or the standard one.
class ExportCommand {
public:
    // The arguments after "export"; returns the exit status.
    static int run(const QStringList &args);
};

} // namespace velmora
