// The workbook import window on the 20,000-student workbook (.xlsx and .ods, written by gen_table.py;
// an .xlsx written by the program's own export when the generator cannot), drawn offscreen: from the
// file chosen to the dialog shown with its first rows painted, as RunSheetImportDialog does it, and on
// until the whole sheet is read.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QTableView>
#include <iostream>
#include <memory>

#include "bench/bench_table.h"
#include "common/qt/font_setup.h"
#include "main/workbook/ui/sheet_import_dialog.h"
#include "main/workbook/workbook_export.h"

namespace {

using namespace scorvane;

std::string Book(const std::string& extension) {
    std::string generator = std::string(SCORVANE_SOURCE_DIR) + "/../shared/bench/gen_table.py";
    if (!std::filesystem::exists(generator)) {
        generator = std::string(SCORVANE_SOURCE_DIR) + "/bench/gen_table.py";
    }
    std::string path = bench::GeneratedFile("grades_20000." + extension, generator, "20000");
    if (path.empty() && extension == "xlsx") {
        GradeTable table;
        const std::optional<std::string> bytes = ReadWholeFile(bench::BenchTablePath());
        path = (std::filesystem::temp_directory_path() / "scorvane-bench-export.xlsx").string();
        if (!bytes || !ParseDataFile(*bytes, table) || !ExportWorkbook(table, path)) {
            return {};
        }
    }
    return path;
}

// From the file chosen to the dialog shown with its first rows painted, as RunSheetImportDialog does
// it; with `whole`, on until the whole sheet is read and its counts shown.
void OpenWindow(benchmark::State& state, const std::string& extension, bool whole) {
    const std::string path = Book(extension);
    if (path.empty()) {
        state.SkipWithError("no workbook");
        return;
    }
    int rows = 0;
    int students = 0;
    for (auto _ : state) {
        SheetGrid grid;
        const std::string message =
            LoadWorkbookSheet(path, SheetChoice{{}, 0, SheetImportDialog::kFirstLookRows}, grid);
        auto dialog = std::make_unique<SheetImportDialog>(path, std::move(grid));
        dialog->show();
        QPixmap painted = dialog->grab();
        benchmark::DoNotOptimize(painted);
        rows = dialog->previewGrid()->model()->rowCount();
        if (whole) {
            dialog->waitForSheet();
            students = dialog->countLabel()->text().startsWith(QStringLiteral("共 20000 名学生")) ? 20000 : 0;
        }
        benchmark::DoNotOptimize(message);
        state.PauseTiming();  // closing the window stops its reading thread: not part of the figure
        dialog.reset();
        state.ResumeTiming();
    }
    if (rows == 0 || (whole && students == 0)) {
        state.SkipWithError("the window showed no rows");
    }
}

void OpenWindow_Xlsx(benchmark::State& state) {
    OpenWindow(state, "xlsx", false);
}
BENCHMARK(OpenWindow_Xlsx)->Unit(benchmark::kMillisecond)->UseRealTime();

void OpenWindow_Ods(benchmark::State& state) {
    OpenWindow(state, "ods", false);
}
BENCHMARK(OpenWindow_Ods)->Unit(benchmark::kMillisecond)->UseRealTime();

void WholeSheetInWindow_Xlsx(benchmark::State& state) {
    OpenWindow(state, "xlsx", true);
}
BENCHMARK(WholeSheetInWindow_Xlsx)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    SetUpFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
