// Formula engine and table tools on the benchmark table (20,000 students, 40,000 formula cells):
//   python3 /work/shared/bench/gen_table.py 20000 --outdir DIR --no-xlsx
//   formula_bench [--table DIR/grades_20000.skv]   (default /tmp/bench/grades_20000.skv)
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_table.h"
#include "bench/quiet_prompter.h"
#include "main/formula/evaluator.h"
#include "main/formula/find_text.h"
#include "main/formula/formula_cell.h"
#include "main/formula/formula_commands.h"
#include "main/formula/replace_text.h"
#include "main/formula/sort_rows.h"

namespace {

std::string gTablePath = "/tmp/bench/grades_20000.skv";

const scorvane::GradeTable& BenchTable() {
    static const scorvane::GradeTable table = scorvane::bench::ReadTableOrExit(gTablePath);
    return table;
}

void BM_EvaluateExpression(benchmark::State& state) {
    const std::string text = "85+90+77+64+93+58+71+88+69+100";
    for (auto _ : state) {
        benchmark::DoNotOptimize(scorvane::EvaluateExpression(text));
    }
}
BENCHMARK(BM_EvaluateExpression);

// One formula cell of the column, row after row: the total of ten marks (integer result) or the
// average (a fraction, formatted through "###.##").
void BM_FormulaValue(benchmark::State& state, int column) {
    const scorvane::GradeTable& t = BenchTable();
    int row = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scorvane::公式2值(t, row, column));
        row = row % (t.rows() - 1) + 1;
    }
}
BENCHMARK_CAPTURE(BM_FormulaValue, Total, 13);
BENCHMARK_CAPTURE(BM_FormulaValue, Average, 14);

// Every cell's display value, as the comma-separated export and the print preview read them.
void BM_AllDisplayValues(benchmark::State& state) {
    const scorvane::GradeTable& t = BenchTable();
    for (auto _ : state) {
        size_t bytes = 0;
        for (int r = 0; r < t.rows(); ++r) {
            for (int c = 0; c < t.cols(); ++c) {
                bytes += scorvane::公式2值(t, r, c).size();
            }
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetLabel(std::to_string(t.rows() * t.cols()) + " cells");
}
BENCHMARK(BM_AllDisplayValues)->Unit(benchmark::kMillisecond);

// Loading the table (for scale): decode, check and fill 300,015 cells.
void BM_LoadTable(benchmark::State& state) {
    auto bytes = scorvane::ReadWholeFile(gTablePath);
    for (auto _ : state) {
        scorvane::GradeTable t;
        benchmark::DoNotOptimize(scorvane::ParseDataFile(*bytes, t));
    }
}
BENCHMARK(BM_LoadTable)->Unit(benchmark::kMillisecond);

// Compute all formulas: the undo snapshot, then every cell replaced by its value.
void BM_ComputeAllFormulas(benchmark::State& state) {
    scorvane::bench::QuietPrompter prompter(scorvane::Answer::Ok);  // "go ahead", as the command line
    for (auto _ : state) {
        state.PauseTiming();
        scorvane::Document doc;
        doc.table = BenchTable();
        state.ResumeTiming();
        scorvane::ComputeAllFormulas(doc, prompter);
        benchmark::DoNotOptimize(doc.table.cell(1, 13));
    }
}
BENCHMARK(BM_ComputeAllFormulas)->Unit(benchmark::kMillisecond);

// Check all formulas (nothing fails in this table): the snapshot and every formula evaluated.
void BM_CheckAllFormulas(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        scorvane::Document doc;
        doc.table = BenchTable();
        state.ResumeTiming();
        benchmark::DoNotOptimize(scorvane::CheckAllFormulas(doc));
    }
}
BENCHMARK(BM_CheckAllFormulas)->Unit(benchmark::kMillisecond);

// Sort by 总分 (a formula column, by its values) descending, ranks into 姓名's neighbour 学号.
void BM_SortByTotalWithRanks(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        scorvane::Document doc;
        doc.table = BenchTable();
        state.ResumeTiming();
        scorvane::SortRows(doc, 13, true, 2);
        benchmark::DoNotOptimize(doc.table.cell(1, 1));
    }
}
BENCHMARK(BM_SortByTotalWithRanks)->Unit(benchmark::kMillisecond);

// Sort by 姓名: texts compared by their GBK bytes.
void BM_SortByName(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        scorvane::Document doc;
        doc.table = BenchTable();
        state.ResumeTiming();
        scorvane::SortRows(doc, 1, false);
        benchmark::DoNotOptimize(doc.table.cell(1, 1));
    }
}
BENCHMARK(BM_SortByName)->Unit(benchmark::kMillisecond);

// Find a surname: every data cell searched and marked, one result entry per row found.
void BM_FindText(benchmark::State& state) {
    scorvane::Document doc;
    doc.table = BenchTable();
    scorvane::FindOptions options{true, true, false, true};
    size_t rows = 0;
    for (auto _ : state) {
        scorvane::FindResult found = scorvane::FindInTable(doc, "王", options);
        rows = found.items.size();
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(std::to_string(rows) + " rows found");
}
BENCHMARK(BM_FindText)->Unit(benchmark::kMillisecond);

// Replace a surname inside cells.
void BM_ReplaceText(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        scorvane::Document doc;
        doc.table = BenchTable();
        state.ResumeTiming();
        benchmark::DoNotOptimize(scorvane::ReplaceInTable(doc, "王", "汪", false));
    }
}
BENCHMARK(BM_ReplaceText)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    gTablePath = scorvane::bench::TableArgument(argc, argv, gTablePath);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
