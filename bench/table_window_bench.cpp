// The 20,000-student table in a table window, drawn offscreen: opening it until the grid is shown and
// painted, and scrolling to the last row and painting there. Prints the times per run.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTableView>

#include "bench/bench_table.h"
#include "bench/quiet_prompter.h"
#include "common/qt/dialog_runner.h"
#include "common/qt/font_setup.h"
#include "main/document/ui/table_window.h"
#include "main/workspace/ui/main_window.h"

namespace {

using namespace scorvane;

using bench::BenchTablePath;
using bench::BenchTableStem;

// The frame, shown once, 1200 x 800 like a teacher's screen.
MainWindow& Frame() {
    static bench::QuietPrompter prompter(Answer::No);
    static MainWindow* frame = [] {
        auto* w = new MainWindow(prompter, DefaultDialogRunner());
        w->resize(1200, 800);
        w->show();
        QCoreApplication::processEvents();
        return w;
    }();
    return *frame;
}

void closeAll(MainWindow& frame) {
    for (QMdiSubWindow* sub : frame.findChildren<QMdiSubWindow*>()) {
        delete sub;
    }
    QCoreApplication::processEvents();
}

// From the open command to a painted grid: a new table window in the frame, the file read into it,
// the window shown at a working size and everything on it painted once.
void OpenTableWindow(benchmark::State& state) {
    MainWindow& frame = Frame();
    const std::string path = BenchTableStem();
    for (auto _ : state) {
        TableWindow* window = frame.openTable(path);
        if (!window || window->document().table.rows() != 20001) {
            state.SkipWithError("the table did not open");
            break;
        }
        window->parentWidget()->resize(1000, 650);
        QPixmap painted = window->grab();
        benchmark::DoNotOptimize(painted);
        state.PauseTiming();
        closeAll(frame);
        state.ResumeTiming();
    }
}
BENCHMARK(OpenTableWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// The table opened in a window of a working size, for the benchmarks that work on an open grid.
QTableView* openGrid(MainWindow& frame, benchmark::State& state) {
    TableWindow* window = frame.openTable(BenchTableStem());
    if (!window) {
        state.SkipWithError("the table did not open");
        return nullptr;
    }
    window->parentWidget()->resize(1000, 650);
    return window->grid();
}

// The open window jumps to the last row (as Ctrl+End or dragging the scroll bar to its end) and back
// to the top, each followed by a paint of the grid.
void ScrollToLastRow(benchmark::State& state) {
    MainWindow& frame = Frame();
    QTableView* grid = openGrid(frame, state);
    if (!grid) {
        return;
    }
    for (auto _ : state) {
        grid->scrollToBottom();
        QPixmap bottom = grid->viewport()->grab();
        grid->scrollToTop();
        QPixmap top = grid->viewport()->grab();
        benchmark::DoNotOptimize(bottom);
        benchmark::DoNotOptimize(top);
    }
    closeAll(frame);
}
BENCHMARK(ScrollToLastRow)->Unit(benchmark::kMillisecond)->UseRealTime();

// Page by page through the last thousand rows, painting each page: what holding Page Down feels like.
void PageDownPaint(benchmark::State& state) {
    MainWindow& frame = Frame();
    QTableView* grid = openGrid(frame, state);
    if (!grid) {
        return;
    }
    const int rows = grid->model()->rowCount();
    for (auto _ : state) {
        for (int r = rows - 1000; r < rows; r += 25) {
            grid->scrollTo(grid->model()->index(r, 0), QAbstractItemView::PositionAtTop);
            grid->viewport()->repaint();
        }
    }
    state.SetItemsProcessed(state.iterations() * 40);
    closeAll(frame);
}
BENCHMARK(PageDownPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    SetUpFonts();
    if (!bench::PrepareBenchTable()) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
