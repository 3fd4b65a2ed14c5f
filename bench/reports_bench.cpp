// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the printouts over a generated year (100,000 sheets, about 300,000 departures and
// arrivals): the trip sheet's RTF printout, and the period report up to its first page and
// to a PDF file. Run the Release build (preset "bench"):
//   build/bench/bin/velmora-bench-reports
// The year is generated once into the cache directory of velmora-bench (VELMORA_BENCH_DIR).

#include "benchdata.h"

#include "reports/periodreportlayout.h"
#include "reports/periodreportpainter.h"
#include "reports/periodsummary.h"
#include "reports/profitreport.h"
#include "reports/sheetprintout.h"
#include "store/datastore.h"
#include "store/query/query.h"
#include "store/sql/sqlengine.h"
#include "store/text/textform.h"
#include "store/text/timp.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

const QString kSheetId = QStringLiteral("900001");

// A copy of the generated year of our own, which the writing benchmarks of velmora-bench
// do not touch.
QString yearCopy() {
    const QString from = BenchData::programDir() + QStringLiteral("/Data");
    const QString to = BenchData::programDir() + QStringLiteral("-print");
    QDir(to).removeRecursively();
    QDir().mkpath(to + QStringLiteral("/Data"));
    for (const QString &name : QDir(from).entryList(QDir::Files)) {
        if (!QFile::copy(from + u'/' + name, to + QStringLiteral("/Data/") + name))
            qFatal("cannot copy %s", qPrintable(name));
    }
    return to;
}

// A sheet with 17 departures and arrivals, alone in a program directory of its own or added
// to a copy of the generated year.
QString programWithLongSheet(bool year) {
    static QTemporaryDir small;
    static QString prepared[2];
    QString &dir = prepared[year ? 1 : 0];
    if (dir.isEmpty()) {
        dir = year ? yearCopy() : small.path();
        DataStore store(dir);
        store.ensureDataDir();
        store.createTables();
        const QString data = store.dataDir();
        SqlEngine::run(
            QStringLiteral("INSERT INTO \"%1/Foi.dbf\"\n"
                           "(IDFOAIE,DATAX,ORA,NRMAS,SOFER1,SOFER2,LOCPARC,TOTALVEN,"
                           "TKM,CONSUM,PRETL,COST)\nVALUES (%2,%3,\"07:00\",\"B123VLM\","
                           "\"POPESCU ION\",\"\",\"AUTOBAZA 2\",0,123,7.5,7.32,67.53)")
                .arg(data, kSheetId, TextForm::quoted(TextForm::date(QDate(2026, 3, 3)))));
        for (int i = 0; i < 17; ++i) {
            const double timp = Timp::fromDateTime(QDate(2026, 3, 3), QTime(6, 0).addSecs(i * 900));
            SqlEngine::run(QStringLiteral("INSERT INTO \"%1/Sosiri.dbf\"\n"
                                          "(IDSOS, IDFOAIE, PLESOS, TIMP, SUMA )\nVALUES(%2,%3,"
                                          "\"%4\",%5,%6 )")
                               .arg(data, QString::number(900000 + i), kSheetId,
                                    QString::fromLatin1(i % 2 ? "SOSIRE" : "PLECARE"),
                                    TextForm::fourDecimal(timp), QString::number(10 + i)));
        }
        QFile::remove(dir + QStringLiteral("/Foaie.rtf"));
        if (!QFile::copy(QStringLiteral(VELMORA_TEMPLATE), dir + QStringLiteral("/Foaie.rtf")))
            qFatal("cannot copy the template");
    }
    return dir;
}

void BM_PrintSheet17Lines(benchmark::State &state) {
    const QString dir = programWithLongSheet(state.range(0) != 0);
    const SheetPrintout printout(dir);
    const QString out = dir + QStringLiteral("/Rap1.rtf");
    for (auto _ : state)
        printout.write(kSheetId, out);
    state.SetLabel(state.range(0) ? "in a generated year" : "alone");
}

PeriodSummary yearSummary(Query &lx) {
    return PeriodSummary::query(lx, BenchData::programDir() + QStringLiteral("/Data"),
                                QDate(2026, 1, 1), QDate(2026, 12, 31));
}

// What the preview needs before it shows the first page: the query, the day totals, the
// layout, and the first page painted at screen resolution.
void BM_PeriodReportFirstPage(benchmark::State &state) {
    for (auto _ : state) {
        Query lx;
        const PeriodSummary summary = yearSummary(lx);
        const PeriodReportPainter painter(PeriodReportLayout::pages(
            summary, PeriodSummary::periodLabel(QDate(2026, 1, 1), QDate(2026, 12, 31))));
        benchmark::DoNotOptimize(painter.pageImage(0, 96));
        state.counters["days"] = double(summary.days().size());
        state.counters["pages"] = double(painter.pageCount());
    }
}

void BM_PeriodReportPdf(benchmark::State &state) {
    QTemporaryDir out;
    for (auto _ : state) {
        Query lx;
        const PeriodSummary summary = yearSummary(lx);
        PeriodReportPainter(
            PeriodReportLayout::pages(
                summary, PeriodSummary::periodLabel(QDate(2026, 1, 1), QDate(2026, 12, 31))))
            .writePdf(out.filePath(QStringLiteral("r.pdf")));
    }
}

// The profitability of the whole year, read, added up and sorted: what its preview waits for
// before the first page (the budget is 500 ms). 0 by vehicle, 1 by driver, 2 by month.
void BM_ProfitReportYear(benchmark::State &state) {
    const auto grouping = static_cast<ProfitReport::Grouping>(state.range(0));
    for (auto _ : state) {
        const ProfitReport report =
            ProfitReport::query(BenchData::programDir() + QStringLiteral("/Data"),
                                QDate(2026, 1, 1), QDate(2026, 12, 31), grouping);
        state.counters["rows"] = double(report.rows().size());
        state.counters["sheets"] = double(report.total().sheets);
    }
    static const char *const kLabels[] = {"by vehicle", "by driver", "by month"};
    state.SetLabel(kLabels[state.range(0)]);
}

} // namespace

BENCHMARK(BM_ProfitReportYear)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintSheet17Lines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeriodReportFirstPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeriodReportPdf)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    // The benchmark's own data; a power cut while it is made costs nothing.
    SqlEngine::setSynchronous(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
