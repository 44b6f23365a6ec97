// Formula engine and table tools on the benchmark table (20,000 students, 40,000 formula cells):
//   python3 /work/shared/bench/gen_table.py 20000 --outdir DIR --no-xlsx
//   formula_bench [--table DIR/grades_20000.skv]   (default /tmp/bench/grades_20000.skv)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/file_io.h"
#include "main/document/data_file.h"
#include "main/formula/evaluator.h"
#include "main/formula/formula_cell.h"

namespace {

std::string gTablePath = "/tmp/bench/grades_20000.skv";

const scorvane::GradeTable& BenchTable() {
    static const scorvane::GradeTable table = [] {
        scorvane::GradeTable t;
        auto bytes = scorvane::ReadWholeFile(gTablePath);
        if (!bytes || !scorvane::ParseDataFile(*bytes, t)) {
            std::fprintf(stderr, "cannot read the benchmark table %s\n", gTablePath.c_str());
            std::exit(1);
        }
        return t;
    }();
    return table;
}

void BM_EvaluateExpression(benchmark::State& state) {
    const std::string text = "85+90+77+64+93+58+71+88+69+100";
    for (auto _ : state) {
        benchmark::DoNotOptimize(scorvane::EvaluateExpression(text));
    }
}
BENCHMARK(BM_EvaluateExpression);

// One formula cell: the total of ten marks (integer result).
void BM_FormulaValueTotal(benchmark::State& state) {
    const scorvane::GradeTable& t = BenchTable();
    int row = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scorvane::公式2值(t, row, 13));
        row = row % (t.rows() - 1) + 1;
    }
}
BENCHMARK(BM_FormulaValueTotal);

// One formula cell: the average (a fraction, formatted through "###.##").
void BM_FormulaValueAverage(benchmark::State& state) {
    const scorvane::GradeTable& t = BenchTable();
    int row = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scorvane::公式2值(t, row, 14));
        row = row % (t.rows() - 1) + 1;
    }
}
BENCHMARK(BM_FormulaValueAverage);

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

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--table") == 0) {
            gTablePath = argv[i + 1];
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
