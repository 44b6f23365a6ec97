// The workbook import window on the 20,000-student workbook (.xlsx and .ods, written by gen_table.py;
// an .xlsx written by the program's own export when the generator cannot), drawn offscreen: from the
// file chosen to the dialog shown with its first rows painted, as RunSheetImportDialog does it.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QPixmap>
#include <QTableView>
#include <iostream>

#include "bench/bench_table.h"
#include "common/qt/font_setup.h"
#include "main/exchange/ui/sheet_import_dialog.h"
#include "main/exchange/workbook_export.h"

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

void OpenWindow(benchmark::State& state, const std::string& extension) {
    const std::string path = Book(extension);
    if (path.empty()) {
        state.SkipWithError("no workbook");
        return;
    }
    int rows = 0;
    for (auto _ : state) {
        SheetGrid grid;
        const SheetTable first = ImportWorkbook(path, SheetChoice{}, -1, grid);
        SheetImportDialog dialog(path, std::move(grid));
        dialog.show();
        QPixmap painted = dialog.grab();
        benchmark::DoNotOptimize(painted);
        rows = dialog.previewGrid()->model()->rowCount();
        benchmark::DoNotOptimize(first);
    }
    if (rows == 0) {
        state.SkipWithError("the window showed no rows");
    }
}

void OpenWindow_Xlsx(benchmark::State& state) {
    OpenWindow(state, "xlsx");
}
BENCHMARK(OpenWindow_Xlsx)->Unit(benchmark::kMillisecond)->UseRealTime();

void OpenWindow_Ods(benchmark::State& state) {
    OpenWindow(state, "ods");
}
BENCHMARK(OpenWindow_Ods)->Unit(benchmark::kMillisecond)->UseRealTime();

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
