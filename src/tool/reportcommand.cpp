// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool/reportcommand.h"

#include "reports/period.h"
#include "reports/periodreportlayout.h"
#include "reports/periodreportpainter.h"
#include "reports/periodsummary.h"
#include "store/datastore.h"
#include "store/query/query.h"
#include "store/text/error.h"
#include "store/text/textform.h"
#include "tool/tooloutput.h"

#include <QDate>
#include <utility>

namespace velmora {

int ReportCommand::paint(const QStringList &args) {
    if (args.size() != 4)
        return ToolOutput::usage(QStringLiteral("report: expected PROGRAMDIR FROM TO OUT.pdf"));
    const QDate from = TextForm::parseDate(args[1]);
    const QDate to = TextForm::parseDate(args[2]);
    for (const auto &[date, text] : {std::pair(from, args[1]), std::pair(to, args[2])}) {
        if (!date.isValid()) {
            return ToolOutput::usage(
                QStringLiteral("report: %1 is not a date (%2)").arg(text, TextForm::dateFormat()));
        }
    }
    Period::require(from, to);
    Query lx;
    const PeriodSummary summary = PeriodSummary::query(lx, DataStore(args[0]).dataDir(), from, to);
    lx.close();
    PeriodReportPainter(PeriodReportLayout::pages(summary, PeriodSummary::periodLabel(from, to)))
        .writePdf(args[3]);
    return ToolOutput::kDone;
}

} // namespace velmora
