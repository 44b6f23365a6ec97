// The formula editor on the 20,000-student table, offscreen: opening it (the copy of the table and the
// grid over it, painted once), and the formula of a selected whole column (20,000 references, checked
// and evaluated). Prints the times per run.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QTableView>
#include <iostream>

#include "bench/bench_table.h"
#include "common/file_io.h"
#include "common/qt/font_setup.h"
#include "main/document/data_file.h"
#include "main/formula/ui/formula_editor_dialog.h"

namespace {

using namespace scorvane;

class QuietPrompter : public Prompter {
  public:
    void message(std::string_view, std::string_view, Icon) override {}
    Answer ask(std::string_view, std::string_view, Buttons, Icon, Answer) override { return Answer::No; }
    std::optional<std::string> input(std::string_view, std::string_view, std::string_view) override {
        return {};
    }
    std::string openFile(std::string_view, std::string_view) override { return {}; }
    std::string saveFile(std::string_view) override { return {}; }
};

const GradeTable& Table() {
    static const GradeTable table = [] {
        GradeTable t;
        auto bytes = ReadWholeFile(bench::BenchTable());
        if (!bytes || !ParseDataFile(*bytes, t)) {
            std::cerr << "cannot read the benchmark table\n";
            std::exit(1);
        }
        t.setHeaderLayout(t.composeHeaderLayout(false));
        return t;
    }();
    return table;
}

// From the "…" button to a painted editor, the target in the middle of the table.
void OpenFormulaEditor(benchmark::State& state) {
    QuietPrompter prompter;
    for (auto _ : state) {
        FormulaEditorDialog dialog(Table(), {10000, 13}, prompter);
        dialog.show();
        QPixmap painted = dialog.grab();
        benchmark::DoNotOptimize(painted);
    }
}
BENCHMARK(OpenFormulaEditor)->Unit(benchmark::kMillisecond)->UseRealTime();

// A click on a title: the whole column's references, the check of every referenced cell, the value.
void SelectWholeColumn(benchmark::State& state) {
    QuietPrompter prompter;
    FormulaEditorDialog dialog(Table(), {10000, 13}, prompter);
    dialog.show();
    int column = 2;
    for (auto _ : state) {
        dialog.grid()->selectColumn(column);
        column = column == 2 ? 3 : 2;
        benchmark::DoNotOptimize(dialog.formulaEdit()->text());
    }
    if (dialog.formulaEdit()->text().size() < 200000) {
        state.SkipWithError("the column formula was not made");
    }
}
BENCHMARK(SelectWholeColumn)->Unit(benchmark::kMillisecond)->UseRealTime();

// A block of one row, as a teacher selects the marks for a total.
void SelectRowBlock(benchmark::State& state) {
    QuietPrompter prompter;
    FormulaEditorDialog dialog(Table(), {10000, 13}, prompter);
    dialog.show();
    int last = 11;
    for (auto _ : state) {
        dialog.selectCells({10000, 3}, {10000, last});
        last = last == 11 ? 12 : 11;
        benchmark::DoNotOptimize(dialog.formulaEdit()->text());
    }
}
BENCHMARK(SelectRowBlock)->Unit(benchmark::kMicrosecond)->UseRealTime();

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
