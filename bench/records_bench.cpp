// SPDX-License-Identifier: GPL-3.0-or-later
// The records window driven offscreen over a generated year: 100,000 sheets and about 300,000
// departures and arrivals. Run the Release build (preset "bench"):
//   build/bench/bin/velmora-records-bench
// The data is the one velmora-bench generates (VELMORA_BENCH_DIR to choose where); the writing
// benchmark works on a scratch copy of it.

#include "benchdata.h"

#include "records/recordgrid.h"
#include "records/recordswindow.h"
#include "records/sheeteditor.h"
#include "records/tripeditor.h"
#include "store/programcontext.h"
#include "store/sql/sqlengine.h"
#include "ui/messagedialog.h"
#include "ui/tnumericedit.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <benchmark/benchmark.h>
#include <memory>

using namespace velmora;

namespace {

// The windows as the program makes them, over one program directory.
struct Windows {
    explicit Windows(const QString &programDir)
        : context(programDir, QStringLiteral("Velmora v.1.01"))
        , sheetEditor(context)
        , window(context, messages, sheetEditor, tripEditor) {
        window.resize(830, 623);
    }

    // What the user sees: both grids drawn now, not at the next turn of the event loop.
    void paint() {
        window.sheetGrid()->viewport()->repaint();
        window.lineGrid()->viewport()->repaint();
    }

    ProgramContext context;
    MessageDialog messages;
    SheetEditor sheetEditor;
    TripEditor tripEditor;
    RecordsWindow window;
};

void key(QWidget *target, Qt::Key k, const QString &text) {
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// Opening the window: both lists read, the latest sheet selected, the window shown and
// both grids painted.
void BM_OpenToFirstPaint(benchmark::State &state) {
    Windows w(BenchData::programDir());
    for (auto _ : state) {
        w.window.lists().open();
        w.window.show();
        w.paint();
        state.PauseTiming();
        w.window.hide();
        w.window.lists().close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["sheets"] = BenchData::kSheets;
}

// One keystroke in the driver field until both grids show the new filter. The text grows
// letter by letter to "POPESCU" and is then cleared again outside the timing.
void BM_SearchKeystroke(benchmark::State &state) {
    Windows w(BenchData::programDir());
    w.window.lists().open();
    w.window.show();
    w.paint();
    auto *edit = w.window.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    const QString word = QStringLiteral("POPESCU");
    int typed = 0;
    qint64 shown = 0;
    for (auto _ : state) {
        const QChar ch = word.at(typed);
        key(edit, static_cast<Qt::Key>(Qt::Key_A + (ch.unicode() - u'A')), QString(ch));
        w.paint();
        shown += w.window.sheetGrid()->model()->rowCount();
        if (++typed == word.size()) {
            state.PauseTiming();
            edit->clear();
            typed = 0;
            state.ResumeTiming();
        }
    }
    state.counters["rows shown"] =
        benchmark::Counter(static_cast<double>(shown), benchmark::Counter::kAvgIterations);
}

// Saving a new line: the editor has been closed with "Memoreaza"; the line is inserted, the
// income updated, both lists reread, the sheet and the new line found again and painted.
void BM_SaveNewLine(benchmark::State &state) {
    const QString dir = BenchData::scratchProgramDir();
    Windows w(dir);
    w.window.lists().open();
    w.window.show();
    w.paint();
    w.tripEditor.Initializeaza();
    w.tripEditor.findChild<TNumericEdit *>(QStringLiteral("Suma"))->setText(QStringLiteral("150"));
    for (auto _ : state) {
        w.window.saveNewLine();
        w.paint();
    }
    state.counters["lines of the sheet"] =
        static_cast<double>(w.window.lineGrid()->model()->rowCount());
}

// A click on a column title: the sheet list reread in that order, the selected sheet and
// line found again, painted. Alternates between two columns so that each click sorts.
void BM_SortByColumn(benchmark::State &state) {
    Windows w(BenchData::programDir());
    w.window.lists().open();
    w.window.show();
    w.paint();
    QHeaderView *titles = w.window.sheetGrid()->horizontalHeader();
    int column = 2; // "Numar inmatric."
    for (auto _ : state) {
        Q_EMIT titles->sectionClicked(column);
        w.paint();
        column = column == 2 ? 3 : 2; // and "Nume Sofer 1"
    }
}

// The program's resident memory with the window open over the whole year.
void BM_ResidentMemory(benchmark::State &state) {
    Windows w(BenchData::programDir());
    for (auto _ : state) {
        w.window.lists().open();
        w.window.show();
        w.paint();
    }
    qint64 kb = 0;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                kb = line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    state.counters["RSS MB"] = static_cast<double>(kb) / 1024.0;
}

} // namespace

BENCHMARK(BM_OpenToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond)->Iterations(70);
BENCHMARK(BM_SaveNewLine)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SortByColumn)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ResidentMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    BenchData::programDir();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
