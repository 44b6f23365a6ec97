// The statistics on the benchmark table (20,000 students; ten subjects, and the total and average as
// formulas) and the comparison of a grade of 20 classes x 60 students read from their class folders.
//   analysis_bench [--table DIR/grades_20000.skv]   (default: made once by the shared generator)
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>

#include "bench/bench_table.h"
#include "common/file_io.h"
#include "main/analysis/class_statistics.h"
#include "main/analysis/grade_comparison.h"
#include "main/analysis/grade_tables.h"
#include "main/document/data_file.h"
#include "main/workspace/school_info.h"

namespace {

using namespace scorvane;

std::string gTablePath;

const GradeTable& benchTable() {
    static const GradeTable table = bench::ReadTableOrExit(gTablePath);
    return table;
}

AnalysisSettings settingsFor(std::vector<std::string> fields) {
    AnalysisTexts texts;
    texts.fields = std::move(fields);
    AnalysisSettings settings;
    if (auto fault = ReadAnalysisTexts(texts, benchTable().fieldTitles(), {}, settings)) {
        std::cerr << *fault << "\n";
        std::exit(1);
    }
    return settings;
}

// The ten subjects: the marks as typed.
void BM_StatisticsOfTenSubjects(benchmark::State& state) {
    const AnalysisSettings settings =
        settingsFor({"语文", "数学", "英语", "物理", "化学", "生物", "政治", "历史", "地理", "体育"});
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeClassStatistics(benchTable(), settings));
    }
    state.SetLabel(std::to_string(benchTable().rows() - 1) + " students");
}
BENCHMARK(BM_StatisticsOfTenSubjects)->Unit(benchmark::kMillisecond);

// What the window and the command do by default: find the numeric fields (the total and the average
// too, 40,000 formulas computed), then their statistics (the formulas computed again).
void BM_StatisticsOfDefaultFields(benchmark::State& state) {
    size_t fields = 0;
    for (auto _ : state) {
        AnalysisTexts texts;
        AnalysisSettings settings;
        ReadAnalysisTexts(texts, benchTable().fieldTitles(), DefaultStatisticsFields(benchTable()), settings);
        fields = settings.fields.size();
        benchmark::DoNotOptimize(ComputeClassStatistics(benchTable(), settings));
    }
    state.SetLabel(std::to_string(fields) + " fields");
}
BENCHMARK(BM_StatisticsOfDefaultFields)->Unit(benchmark::kMillisecond);

// A grade of 20 classes of 60 students (the benchmark table's first 1,200 rows), each class's 期中考试
// in its folder, listed in the school file.
const std::string& gradeFolder() {
    static const std::string folder = [] {
        const std::filesystem::path workspace =
            std::filesystem::temp_directory_path() / "scorvane-bench-grade";
        std::filesystem::remove_all(workspace);
        SchoolInfo school{"一中", {{"高一", {}}}};
        const GradeTable& all = benchTable();
        for (int k = 0; k < 20; ++k) {
            const std::string name = "(" + std::to_string(k + 1) + ")班";
            school.grades[0].classes.push_back(name);
            GradeTable t(61, all.cols());
            t.title = "高一" + name + " 期中考试";
            for (int r = 0; r <= 60; ++r) {
                for (int c = 0; c < all.cols(); ++c) {
                    t.setCell(r, c, all.cell(r == 0 ? 0 : k * 60 + r, c));
                }
            }
            t.renumber();
            WriteDataFile(t, (workspace / "表格数据" / "一中" / "高一" / name / "期中考试").string());
        }
        SaveSchoolInfo(school, workspace.string() + "/");
        return (workspace / "表格数据" / "一中" / "高一").string();
    }();
    return folder;
}

// From the folders to the table: the classes, their 20 files read, the default fields found, compared.
void BM_GradeComparison(benchmark::State& state) {
    const std::string& folder = gradeFolder();
    size_t rows = 0;
    for (auto _ : state) {
        const std::optional<GradeFolder> grade = ReadGradeFolder(folder);
        const std::vector<ClassTable> classes = LoadClassTables(grade->classes, "期中考试");
        AnalysisSettings settings;
        ReadAnalysisTexts({}, ComparisonFields(classes), DefaultComparisonFields(classes), settings);
        const GradeTable t = GradeComparisonTable(grade->grade, "期中考试", classes, settings);
        rows = static_cast<size_t>(t.rows());
        benchmark::DoNotOptimize(t);
    }
    state.SetLabel(std::to_string(rows - 2) + " classes");
}
BENCHMARK(BM_GradeComparison)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    gTablePath = bench::TableArgument(argc, argv, {});
    if (gTablePath.empty()) {
        if (!bench::PrepareBenchTable()) {
            return 1;
        }
        gTablePath = bench::BenchTablePath();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
