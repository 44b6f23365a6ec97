// Recovery copies of the 20,000-student table: what the interface thread spends taking a copy (the
// table copied, with the open cell editor's text), what the writer thread spends making and writing it
// (serialised as a data file, written through the atomic writer), and the keys typed into the table's
// grid while a copy is being written. Prints the times per run; "per_key_max_ms" is the slowest key.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "bench/bench_table.h"
#include "bench/quiet_prompter.h"
#include "common/qt/dialog_runner.h"
#include "common/qt/font_setup.h"
#include "common/qt/recovery/recovery_copier.h"
#include "common/recovery/recovery_store.h"
#include "main/document/data_file.h"
#include "main/document/table_recovery.h"
#include "main/document/ui/table_copier.h"
#include "main/document/ui/table_window.h"
#include "main/workspace/ui/main_window.h"

namespace {

using namespace scorvane;
using Clock = std::chrono::steady_clock;

std::string RecoveryFolderForBench() {
    return (std::filesystem::temp_directory_path() / "scorvane-bench-recovery").string();
}

RecoveryStore& Store() {
    static RecoveryStore store(RecoveryFolderForBench(), 60000);
    return store;
}

const GradeTable& Table() {
    static const GradeTable table = bench::ReadTableOrExit(bench::BenchTablePath());
    return table;
}

// The interface thread's part: the table copied for the writer.
void TakeTableCopy(benchmark::State& state) {
    for (auto _ : state) {
        auto copy = std::make_shared<GradeTable>(Table());
        benchmark::DoNotOptimize(copy);
        state.PauseTiming();
        copy.reset();  // let go of on the writer thread
        state.ResumeTiming();
    }
}
BENCHMARK(TakeTableCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

// The writer thread's first step alone: the copy serialised as a data file (GBK).
void SerialiseTableCopy(benchmark::State& state) {
    for (auto _ : state) {
        std::string bytes = SerializeDataFile(Table());
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(SerialiseTableCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

// The writer thread's part: the copy serialised and written (sidecar and data file, each flushed to
// disk and renamed into place).
void WriteTableCopy(benchmark::State& state) {
    const RecoveryFolder& folder = Store().folder();
    const RecoveryInfo info = TableCopyInfo(Table(), "/bench");
    for (auto _ : state) {
        const bool ok = folder.write("bench", kTableCopyExtension, SerializeDataFile(Table()), info);
        if (!ok) {
            state.SkipWithError("the copy could not be written");
            break;
        }
    }
    folder.remove("bench", kTableCopyExtension);
}
BENCHMARK(WriteTableCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

void sendKey(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

// A mark typed (a key on the grid, a key in the editor, Enter; the grid painted after each) into the
// table window, with argument 1 while the writer thread writes the window's copy, which its copier
// took just before (not timed: the copy's own time on this thread is TakeTableCopy), with 0 without
// copies, for comparison: the time per key, and the slowest key of the run.
void TypeMarksWhileACopyIsWritten(benchmark::State& state) {
    const bool copying = state.range(0) != 0;
    static bench::QuietPrompter prompter(Answer::No);
    MainWindow frame(prompter, DefaultDialogRunner());
    frame.setRecoveryStore(&Store());
    frame.resize(1200, 800);
    frame.show();
    QCoreApplication::processEvents();
    if (!frame.enterMovesDownColumn()) {
        frame.toolbarButton(MainWindow::kEnterDownColumn)->trigger();
    }
    TableWindow* window = frame.openTable(bench::BenchTableStem());
    if (!window) {
        state.SkipWithError("the table did not open");
        return;
    }
    window->parentWidget()->resize(1000, 650);
    window->setCurrentCell(10000, 3);
    RecoveryCopier* copier = TableCopierOf(*window);
    QWidget* viewport = window->grid()->viewport();
    double slowest = 0;
    std::vector<double> keys;  // every key's time, for the share of keys over 16 ms
    int overlapping = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (copying) {
            window->document().setModified();
            copier->changedInBulk();
        }
        QCoreApplication::processEvents();  // the copier's timer: the copy is taken and handed over
        const int written = Store().writer().written();
        state.ResumeTiming();
        for (auto [target, key, text] : {std::tuple<QWidget*, int, QString>{window->grid(), Qt::Key_8, "8"},
                                         {window->cellEditor(), Qt::Key_5, "5"},
                                         {window->cellEditor(), Qt::Key_Return, "\r"}}) {
            const auto begin = Clock::now();
            sendKey(target, key, text);
            viewport->repaint();
            keys.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
            slowest = std::max(slowest, keys.back());
        }
        state.PauseTiming();
        // The copy was still being written when the mark was in.
        overlapping += copying && Store().writer().written() == written ? 1 : 0;
        Store().writer().wait();
        state.ResumeTiming();
    }
    state.counters["per_key_max_ms"] = slowest;
    // The first mark lays out the grid's glyphs and the editor for the first time: the slowest key of
    // the marks after it, and how many keys of all took longer than a frame (16 ms).
    state.counters["per_key_max_after_first_ms"] =
        keys.size() > 3 ? *std::max_element(keys.begin() + 3, keys.end()) : slowest;
    state.counters["keys_over_16ms"] =
        static_cast<double>(std::count_if(keys.begin(), keys.end(), [](double k) { return k > 16; }));
    state.counters["marks_typed_while_writing"] = overlapping;
    state.SetItemsProcessed(state.iterations() * 3);
    copier->settled();
    for (QMdiSubWindow* sub : frame.findChildren<QMdiSubWindow*>()) {
        delete sub;
    }
}
BENCHMARK(TypeMarksWhileACopyIsWritten)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(50);

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
