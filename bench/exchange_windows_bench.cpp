// The exchange windows on the 20,000-student table, drawn offscreen: opening the partial import and the
// partial export dialog until they are shown and painted, a key-matched import of all 20,000 rows from
// the dialog's "确认(&O)" (and from the menu entry to the refreshed table window), and converting a
// 20,000-record FoxPro table into a data file (the converter's own steps, and through its window).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPushButton>
#include <functional>
#include <iostream>

#include "bench/bench_table.h"
#include "bench/stepping_runner.h"
#include "common/file_io.h"
#include "common/qt/dialog_runner.h"
#include "common/qt/font_setup.h"
#include "main/document/ui/table_window.h"
#include "main/exchange/ui/dbf_converter_dialog.h"
#include "main/exchange/ui/partial_export_dialog.h"
#include "main/exchange/ui/partial_import_dialog.h"
#include "main/workspace/ui/main_window.h"

namespace {

using namespace scorvane;

using bench::BenchShuffledStem;
using bench::BenchTablePath;
using bench::BenchTableStem;

// Every file dialog chooses the file given; every question is answered Yes; messages are dropped.
class ChoosingPrompter : public Prompter {
  public:
    std::string openPath;
    std::string savePath;
    void message(std::string_view, std::string_view, Icon) override {}
    Answer ask(std::string_view, std::string_view, Buttons, Icon, Answer) override { return Answer::Yes; }
    std::optional<std::string> input(std::string_view, std::string_view, std::string_view) override {
        return std::nullopt;
    }
    std::string openFile(std::string_view, std::string_view) override { return openPath; }
    std::string saveFile(std::string_view) override { return savePath; }
};

ChoosingPrompter& Prompts() {
    static ChoosingPrompter prompter;
    return prompter;
}
bench::SteppingRunner& Runner() {
    static bench::SteppingRunner runner;
    return runner;
}

// The frame, shown once, 1200 x 800 like a teacher's screen, with the table open in a window.
MainWindow& Frame() {
    static MainWindow* frame = [] {
        auto* w = new MainWindow(Prompts(), Runner());
        w->resize(1200, 800);
        w->show();
        QCoreApplication::processEvents();
        return w;
    }();
    return *frame;
}

TableWindow* OpenTable(benchmark::State& state) {
    TableWindow* window = Frame().openTable(BenchTableStem());
    if (!window || window->document().table.rows() != 20001) {
        state.SkipWithError("the table did not open");
        return nullptr;
    }
    window->parentWidget()->resize(1000, 650);
    return window;
}

void CloseAll() {
    for (QMdiSubWindow* sub : Frame().findChildren<QMdiSubWindow*>()) {
        delete sub;
    }
    QCoreApplication::processEvents();
}

// From the menu entry to the dialog shown and painted (the dialog made, its grids or lists filled, the
// undo snapshot of the partial import taken), then closed.
template <typename Dialog>
void OpenDialog(benchmark::State& state, const char* menuEntry) {
    TableWindow* window = OpenTable(state);
    if (!window) {
        return;
    }
    bool shown = false;
    Runner().step = [&](QDialog& d) {
        shown = dynamic_cast<Dialog*>(&d) != nullptr;
        QPixmap painted = d.grab();
        benchmark::DoNotOptimize(painted);
        d.reject();
    };
    for (auto _ : state) {
        window->action(menuEntry)->trigger();
    }
    if (!shown) {
        state.SkipWithError("the dialog did not open");
    }
    Runner().step = nullptr;
    CloseAll();
}

void OpenPartialImportDialog(benchmark::State& state) {
    OpenDialog<PartialImportDialog>(state, "menuImportSome");
}
BENCHMARK(OpenPartialImportDialog)->Unit(benchmark::kMillisecond)->UseRealTime();

void OpenPartialExportDialog(benchmark::State& state) {
    OpenDialog<PartialExportDialog>(state, "menuexptable");
}
BENCHMARK(OpenPartialExportDialog)->Unit(benchmark::kMillisecond)->UseRealTime();

// 语文 (column 3) of the shuffled table into the table, matched on 学号 (column 2).
void chooseKeyMatchedImport(PartialImportDialog& d) {
    d.chooseTargetColumn(3);
    d.chooseSourceColumn(3);
    d.keyMatchingCheck()->setChecked(true);
    d.targetKeyBox()->setCurrentIndex(1);
    d.sourceKeyBox()->setCurrentIndex(1);
}

// Only the press on "确认(&O)": every one of the 20,000 rows looks its key up and is filled.
void KeyMatchedImport_Confirm(benchmark::State& state) {
    TableWindow* window = OpenTable(state);
    if (!window) {
        return;
    }
    Prompts().openPath = BenchShuffledStem() + ".skv";
    bool imported = false;
    Runner().step = [&](QDialog& dialog) {
        auto& d = static_cast<PartialImportDialog&>(dialog);
        d.browseButton()->click();
        chooseKeyMatchedImport(d);
        for (auto _ : state) {
            state.PauseTiming();
            window->document().table.setCell(1, 3, "");  // something to fill again
            state.ResumeTiming();
            d.confirmButton()->click();
        }
        imported = d.imported();
    };
    window->action("menuImportSome")->trigger();
    if (!imported || window->document().table.cell(1, 3).empty()) {
        state.SkipWithError("the import did not fill the rows");
    }
    Runner().step = nullptr;
    CloseAll();
}
BENCHMARK(KeyMatchedImport_Confirm)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole command: the menu entry (dialog and snapshot), reading the 20,000-row source, the choice,
// the import, and the table window shown again and painted.
void KeyMatchedImport_MenuToWindow(benchmark::State& state) {
    TableWindow* window = OpenTable(state);
    if (!window) {
        return;
    }
    Prompts().openPath = BenchShuffledStem() + ".skv";
    bool imported = true;
    Runner().step = [&](QDialog& dialog) {
        auto& d = static_cast<PartialImportDialog&>(dialog);
        d.browseButton()->click();
        chooseKeyMatchedImport(d);
        d.confirmButton()->click();
        imported = imported && d.imported();
    };
    for (auto _ : state) {
        window->action("menuImportSome")->trigger();
        QPixmap painted = window->grab();
        benchmark::DoNotOptimize(painted);
    }
    if (!imported) {
        state.SkipWithError("the import did not run");
    }
    Runner().step = nullptr;
    CloseAll();
}
BENCHMARK(KeyMatchedImport_MenuToWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

const std::string& DbfPath() {
    static const std::string path = bench::BenchDbf();
    return path;
}

// The converter's steps: read the 20,000-record table and write it as a data file.
void ConvertDbf_ReadAndSave(benchmark::State& state) {
    if (DbfPath().empty()) {
        state.SkipWithError("the FoxPro table could not be made");
        return;
    }
    ChoosingPrompter& prompts = Prompts();
    prompts.openPath = DbfPath();
    const std::string out = BenchTableStem() + "_converted";
    SilentStatusSink status;
    for (auto _ : state) {
        DbfConverter converter;
        if (!converter.open(prompts, status) ||
            SaveConvertedData(converter.grid(), out, {"高一名单", "王老师", "高一年级"}, prompts, status) !=
                ConverterSaveOutcome::Saved) {
            state.SkipWithError("the conversion failed");
            break;
        }
    }
    RemoveFile(out + ".skv");
}
BENCHMARK(ConvertDbf_ReadAndSave)->Unit(benchmark::kMillisecond)->UseRealTime();

// Through the window: the frame's menu entry, "打开(&O)" (the grid shows the table, painted), then
// "转换保存..." over the former file (the overwrite question answered Yes).
void ConvertDbf_Window(benchmark::State& state) {
    if (DbfPath().empty()) {
        state.SkipWithError("the FoxPro table could not be made");
        return;
    }
    MainWindow& frame = Frame();
    Prompts().openPath = DbfPath();
    Prompts().savePath = BenchTableStem() + "_converted.skv";
    bool saved = true;
    Runner().step = [&](QDialog& dialog) {
        auto& d = static_cast<DbfConverterDialog&>(dialog);
        d.openButton()->click();
        QPixmap painted = d.grab();
        benchmark::DoNotOptimize(painted);
        d.saveButton()->click();
        saved = saved && d.converter().grid().rows() == 20001;
    };
    for (auto _ : state) {
        frame.convertFoxPro();
    }
    if (!saved || !FileExists(Prompts().savePath)) {
        state.SkipWithError("the conversion failed");
    }
    RemoveFile(Prompts().savePath);
    Runner().step = nullptr;
}
BENCHMARK(ConvertDbf_Window)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    SetUpFonts();
    if (!bench::PrepareBenchTable() || BenchShuffledStem().empty()) {
        return 1;
    }
    std::cout << "FoxPro table: " << DbfPath() << "\n";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
