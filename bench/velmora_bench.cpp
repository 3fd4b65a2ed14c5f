// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the data paths behind the windows, over a generated year: 100,000 sheets and about
// 300,000 departures and arrivals. Run the Release build (preset "bench"):
//   build/bench/bin/velmora-bench
// The first run generates the data into a cache directory (VELMORA_BENCH_DIR to choose it).

#include "benchdata.h"

#include "records/sheetstatements.h"
#include "store/query/query.h"
#include "store/sql/sqlengine.h"
#include "store/text/textform.h"
#include "store/text/textrules.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

QString quoted(const QString &path) {
    return TextForm::quoted(path);
}

QStringList sheetList(const QString &programDir) {
    return {QStringLiteral("SELECT *"),
            QStringLiteral("FROM ") + quoted(BenchData::sheets(programDir)),
            QStringLiteral("ORDER BY DATAX, ORA")};
}

QStringList lineList(const QString &programDir) {
    return {QStringLiteral("SELECT *"),
            QStringLiteral("FROM ") + quoted(BenchData::lines(programDir)),
            QStringLiteral("ORDER BY TIMP")};
}

// Opening the sheet list as the records window does.
void BM_OpenSheetList(benchmark::State &state) {
    const QString dir = BenchData::programDir();
    Query fx;
    fx.setSql(sheetList(dir));
    for (auto _ : state) {
        fx.open();
        benchmark::DoNotOptimize(fx.recordCount());
        fx.close();
    }
    state.counters["sheets"] = BenchData::kSheets;
}

// The lower list following the upper one: move the sheet cursor, refilter the lines to it.
void BM_FollowSheet(benchmark::State &state) {
    const QString dir = BenchData::programDir();
    Query px;
    px.setSql(lineList(dir));
    px.open();
    Query fx;
    fx.setSql(sheetList(dir));
    QObject::connect(&fx, &Query::afterScroll, &fx, [&] {
        px.setFilter(fx.isEmpty()
                         ? QStringLiteral("IDFOAIE=-1")
                         : QStringLiteral("IDFOAIE=") + TextForm::general(fx.number(u"IDFOAIE")));
        px.setFiltered(true);
    });
    fx.open();
    QRandomGenerator random(1);
    const auto sheets = static_cast<quint32>(fx.recordCount());
    qint64 lines = 0;
    for (auto _ : state) {
        fx.moveTo(random.bounded(sheets));
        lines += px.recordCount();
    }
    state.counters["lines/sheet"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
}

// The search of the records window, driver and vehicle prefixes together.
void BM_SearchFilter(benchmark::State &state) {
    const QString dir = BenchData::programDir();
    Query fx;
    fx.setSql(sheetList(dir));
    fx.open();
    const QString condition = TextRules::joinConditions(
        QStringLiteral("((SOFER1='POP*') OR (SOFER2='POP*'))(NRMAS='B*')"));
    qint64 found = 0;
    for (auto _ : state) {
        fx.setFilter(condition);
        fx.setFiltered(true);
        found = fx.recordCount();
        fx.setFiltered(false);
        fx.setFilter(QString());
    }
    state.counters["found"] = static_cast<double>(found);
}

// The income update that follows every change of a line, durable (arg 1) or not (arg 0).
void BM_UpdateIncome(benchmark::State &state) {
    const QString dir = BenchData::scratchProgramDir();
    SqlEngine::setSynchronous(state.range(0) != 0);
    const SheetStatements statements(dir + QStringLiteral("/Data"));
    QRandomGenerator random(2);
    for (auto _ : state) {
        const QString id = QString::number(1 + random.bounded(BenchData::kSheets));
        benchmark::DoNotOptimize(SqlEngine::run(
            statements.changeIncome(id, QStringLiteral("150.5"), QStringLiteral("150.5"))
                .join(u'\n')));
    }
    SqlEngine::setSynchronous(true);
}

// A change of every line of one sheet: the whole lines table is searched by IDFOAIE.
void BM_UpdateLinesOfSheet(benchmark::State &state) {
    const QString dir = BenchData::scratchProgramDir();
    SqlEngine::setSynchronous(state.range(0) != 0);
    const QString table = quoted(BenchData::lines(dir));
    QRandomGenerator random(3);
    for (auto _ : state) {
        const QString id = QString::number(1 + random.bounded(BenchData::kSheets));
        benchmark::DoNotOptimize(SqlEngine::run(
            QStringLiteral("UPDATE %1\nSET SUMA=SUMA\nWHERE IDFOAIE=%2").arg(table, id)));
    }
    SqlEngine::setSynchronous(true);
}

// Adding one departure, as the line editor's save does.
void BM_InsertLine(benchmark::State &state) {
    const QString dir = BenchData::scratchProgramDir();
    SqlEngine::setSynchronous(state.range(0) != 0);
    const SheetStatements statements(dir + QStringLiteral("/Data"));
    qint64 id = 10000000;
    for (auto _ : state) {
        const LineValues line{QString::number(++id), QStringLiteral("17"),
                              QStringLiteral("PLECARE"), QStringLiteral("46000.5868"),
                              QStringLiteral("150")};
        benchmark::DoNotOptimize(SqlEngine::run(statements.insertLine(line).join(u'\n')));
    }
    SqlEngine::setSynchronous(true);
}

// Packing both tables at start-up, each with a deleted row to remove.
void BM_PackBoth(benchmark::State &state) {
    const QString dir = BenchData::scratchProgramDir();
    const SheetStatements statements(dir + QStringLiteral("/Data"));
    qint64 next = 1;
    for (auto _ : state) {
        state.PauseTiming();
        SqlEngine::run(statements.deleteSheet(QString::number(next)).join(u'\n'));
        SqlEngine::run(statements.deleteSheetLines(QString::number(next)).join(u'\n'));
        ++next;
        state.ResumeTiming();
        SqlEngine::pack(BenchData::sheets(dir));
        SqlEngine::pack(BenchData::lines(dir));
    }
}

// The period report's query over the whole year.
void BM_PeriodQuery(benchmark::State &state) {
    const QString dir = BenchData::programDir();
    const QString statement =
        QStringList{QStringLiteral("SELECT DATAX, SUM(TOTALVEN) AS TV, SUM(COST) AS TC"),
                    QStringLiteral("FROM ") + quoted(BenchData::sheets(dir)),
                    QStringLiteral("WHERE DATAX>=") + quoted(TextForm::date(QDate(2026, 1, 1))),
                    QStringLiteral("AND DATAX<=") + quoted(TextForm::date(QDate(2026, 12, 31))),
                    QStringLiteral("GROUP BY DATAX"),
                    QStringLiteral("ORDER BY DATAX")}
            .join(u'\n');
    qint64 days = 0;
    for (auto _ : state)
        days = SqlEngine::open(statement).rowCount();
    state.counters["days"] = static_cast<double>(days);
}

} // namespace

BENCHMARK(BM_OpenSheetList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FollowSheet)->Unit(benchmark::kMicrosecond)->Iterations(1000);
BENCHMARK(BM_SearchFilter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateIncome)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateLinesOfSheet)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertLine)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackBoth)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PeriodQuery)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // Generate (or find) the data before any timing starts.
    BenchData::programDir();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
