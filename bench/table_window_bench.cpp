// The 20,000-student table in a table window, drawn offscreen: opening it until the grid is shown and
// painted, scrolling to the last row and painting there, and typing marks into it. Prints the times per
// run.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
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

void sendKey(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

// One mark typed as a teacher types it: the first key on the grid opens the editor over the cell (and
// takes the undo snapshot of the whole table), the second goes into the editor, Enter writes the mark
// and moves down the column; the grid is painted after each key, as the screen would be.
void TypeMarks(benchmark::State& state) {
    MainWindow& frame = Frame();
    if (!frame.enterMovesDownColumn()) {
        frame.toolbarButton(MainWindow::kEnterDownColumn)->trigger();
    }
    TableWindow* window = frame.openTable(BenchTableStem());
    if (!window) {
        state.SkipWithError("the table did not open");
        return;
    }
    window->parentWidget()->resize(1000, 650);
    window->setCurrentCell(10000, 3);
    QWidget* viewport = window->grid()->viewport();
    for (auto _ : state) {
        sendKey(window->grid(), Qt::Key_8, "8");
        viewport->repaint();
        sendKey(window->cellEditor(), Qt::Key_5, "5");
        viewport->repaint();
        sendKey(window->cellEditor(), Qt::Key_Return, "\r");
        viewport->repaint();
    }
    if (window->document().table.cell(10000, 3) != "85" || window->editing()) {
        state.SkipWithError("the marks did not land");
    }
    state.SetItemsProcessed(state.iterations());
    closeAll(frame);
}
BENCHMARK(TypeMarks)->Unit(benchmark::kMillisecond)->UseRealTime();

// A key typed into the open editor: the editor, the value box and the formula bar follow.
void KeyInTheEditor(benchmark::State& state) {
    MainWindow& frame = Frame();
    TableWindow* window = frame.openTable(BenchTableStem());
    if (!window) {
        state.SkipWithError("the table did not open");
        return;
    }
    window->parentWidget()->resize(1000, 650);
    window->setCurrentCell(10000, 3);
    sendKey(window->grid(), Qt::Key_1, "1");
    QLineEdit* editor = window->cellEditor();
    for (auto _ : state) {
        sendKey(editor, Qt::Key_7, "7");
        sendKey(editor, Qt::Key_Backspace, "\b");
        editor->repaint();
    }
    state.SetItemsProcessed(state.iterations() * 2);
    window->EditKeyCode(*window->grid(), *editor, Qt::Key_Escape, Qt::NoModifier);
    closeAll(frame);
}
BENCHMARK(KeyInTheEditor)->Unit(benchmark::kMicrosecond)->UseRealTime();

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
