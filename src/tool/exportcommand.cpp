// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool/exportcommand.h"

#include "export/reportexport.h"
#include "export/sheetexport.h"
#include "reports/period.h"
#include "reports/periodsummary.h"
#include "reports/profitreport.h"
#include "store/datastore.h"
#include "store/query/query.h"
#include "store/text/error.h"
#include "store/text/textform.h"
#include "store/text/textrules.h"
#include "tool/tooloutput.h"

#include <QDate>
#include <QDir>
#include <optional>

namespace velmora {

namespace {

int usage(const QString &problem) {
    return ToolOutput::usage(QStringLiteral("export: ") + problem);
}

struct Options {
    QString from;
    QString to;
    QString by;
    // Given at all, even empty: a search text the summaries cannot take.
    std::optional<QString> driver;
    std::optional<QString> vehicle;
    bool standard = false;
};

std::optional<ProfitReport::Grouping> groupingOf(const QString &by) {
    if (by.isEmpty() || by == QStringLiteral("vehicle"))
        return ProfitReport::Grouping::Vehicle;
    if (by == QStringLiteral("driver"))
        return ProfitReport::Grouping::Driver;
    if (by == QStringLiteral("month"))
        return ProfitReport::Grouping::Month;
    return std::nullopt;
}

void done(qsizetype count, const char *what, const QString &path) {
    ToolOutput::printOut(
        QStringLiteral("%1 %2 written into %3")
            .arg(QString::number(count), QLatin1String(what), QDir::toNativeSeparators(path)));
}

} // namespace

int ExportCommand::run(const QStringList &args) {
    if (args.size() < 3)
        return usage(QStringLiteral("expected PROGRAMDIR WHAT OUT.csv"));
    const QString &what = args[1];
    const QString &out = args[2];
    const bool ofSheets = what == QStringLiteral("sheets") || what == QStringLiteral("lines");
    if (!ofSheets && what != QStringLiteral("period") && what != QStringLiteral("profit"))
        return usage(QStringLiteral("WHAT is sheets, lines, period or profit, not %1").arg(what));

    Options options;
    for (qsizetype i = 3; i < args.size(); ++i) {
        const QString &option = args[i];
        if (option == QStringLiteral("--standard")) {
            options.standard = true;
            continue;
        }
        QString *value = nullptr;
        if (option == QStringLiteral("--from"))
            value = &options.from;
        else if (option == QStringLiteral("--to"))
            value = &options.to;
        else if (option == QStringLiteral("--by"))
            value = &options.by;
        else if (option == QStringLiteral("--driver"))
            value = &options.driver.emplace();
        else if (option == QStringLiteral("--vehicle"))
            value = &options.vehicle.emplace();
        else
            return usage(QStringLiteral("unknown option %1").arg(option));
        if (++i >= args.size())
            return usage(QStringLiteral("%1 needs a value").arg(option));
        *value = args[i];
    }

    QDate from;
    QDate to;
    for (const auto &[text, date] :
         {std::pair(&options.from, &from), std::pair(&options.to, &to)}) {
        if (text->isEmpty())
            continue;
        *date = TextForm::parseDate(*text);
        if (!date->isValid())
            return usage(
                QStringLiteral("%1 is not a date (%2)").arg(*text, TextForm::dateFormat()));
    }
    if (from.isValid() != to.isValid())
        return usage(QStringLiteral("--from and --to go together"));
    if (!ofSheets && !from.isValid())
        return usage(QStringLiteral("%1 needs --from and --to").arg(what));
    if (!ofSheets && (options.driver || options.vehicle))
        return usage(QStringLiteral("--driver and --vehicle are for sheets and lines"));
    if (what != QStringLiteral("profit") && !options.by.isEmpty())
        return usage(QStringLiteral("--by is for profit"));
    const std::optional<ProfitReport::Grouping> grouping = groupingOf(options.by);
    if (!grouping)
        return usage(QStringLiteral("--by takes vehicle, driver or month, not %1").arg(options.by));
    if (from.isValid())
        Period::require(from, to);

    const CsvDialect dialect = options.standard ? CsvDialect::standard() : CsvDialect::romanian();
    const QString dataDir = DataStore(args[0]).dataDir();
    if (ofSheets) {
        // As the search fields hold what is typed: in upper case.
        SheetExport::Selection selection;
        selection.driver = TextRules::upperCase(options.driver.value_or(QString()));
        selection.vehicle = TextRules::upperCase(options.vehicle.value_or(QString()));
        selection.from = from;
        selection.to = to;
        const SheetExport sheets(dataDir, selection);
        if (what == QStringLiteral("sheets"))
            done(sheets.writeSheets(out, dialect), "sheets", out);
        else
            done(sheets.writeLines(out, dialect), "departures and arrivals", out);
    } else if (what == QStringLiteral("period")) {
        Query lx;
        const PeriodSummary summary = PeriodSummary::query(lx, dataDir, from, to);
        lx.close();
        done(ReportExport::writePeriod(summary, out, dialect), "days", out);
    } else {
        const ProfitReport report = ProfitReport::query(dataDir, from, to, *grouping);
        done(ReportExport::writeProfit(report, out, dialect), "rows", out);
    }
    ToolOutput::flushOut();
    return ToolOutput::kDone;
}

} // namespace velmora
