// The exchange commands on the 20,000-student table: matching a column of one 20,000-row table into
// another on a key field, appending a 20,000-row table, and (with the formula engine) the
// comma-separated export with every formula computed. Each is timed as the core step alone and as the
// whole command from files to file.
#include <benchmark/benchmark.h>

#include "bench/bench_table.h"
#include "bench/quiet_prompter.h"
#include "common/file_io.h"
#include "common/status_sink.h"
#include "main/document/cell_value.h"
#include "main/document/data_file.h"
#include "main/exchange/csv_export.h"
#include "main/exchange/partial_import.h"
#include "main/exchange/table_import.h"

namespace {

using namespace scorvane;

using bench::BenchShuffledStem;
using bench::BenchTablePath;
using bench::BenchTableStem;
using bench::QuietPrompter;

const GradeTable& table() {
    static const GradeTable t = [] {
        GradeTable loaded;
        auto bytes = ReadWholeFile(BenchTablePath());
        if (!bytes || !ParseDataFile(*bytes, loaded)) {
            return GradeTable(1, 1);
        }
        return loaded;
    }();
    return t;
}

GradeTable loadShuffled() {
    GradeTable s;
    ParseDataFile(*ReadWholeFile(BenchShuffledStem() + ".skv"), s);
    return s;
}

bool ready(benchmark::State& state) {
    if (table().rows() < 20001) {
        state.SkipWithError("the benchmark table could not be made");
        return false;
    }
    return true;
}

// Column 语文 (3) of the shuffled table into the table, matched on 学号 (2).
void MergeByKey_ImportOnly(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    const GradeTable source = loadShuffled();
    QuietPrompter prompter;
    Document document;
    document.table = table();
    for (auto _ : state) {
        RunPartialImport(document, 3, source, 3, KeyFields{2, 2}, prompter);
        benchmark::DoNotOptimize(document.table.cell(1, 1).data());
    }
}
BENCHMARK(MergeByKey_ImportOnly)->Unit(benchmark::kMillisecond);

// The whole `merge --key` command: load both tables, match, write the result.
void MergeByKey_FilesToFile(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    BenchShuffledStem();
    const std::string out = BenchTableStem() + "_merged";
    QuietPrompter prompter;
    SilentStatusSink status;
    for (auto _ : state) {
        Document document;
        LoadData(document, BenchTableStem(), true, prompter, status);
        menuImportSome(document);
        ImportSource source = LoadDataI(BenchShuffledStem(), true, prompter, status);
        RunPartialImport(document, 3, source.table, 3, KeyFields{2, 2}, prompter);
        WriteDataFile(document.table, out);
    }
    RemoveFile(out + ".skv");
}
BENCHMARK(MergeByKey_FilesToFile)->Unit(benchmark::kMillisecond);

// The first 40 students of the benchmark table.
GradeTable classOf40() {
    GradeTable base = table();
    base.setRows(41);
    return base;
}

// Appending the 20,000-row table to a class of 40.
void Append_AppendOnly(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    const GradeTable base = classOf40();
    for (auto _ : state) {
        state.PauseTiming();
        Document document;
        document.table = base;
        state.ResumeTiming();
        AppendTable(document, table());
        benchmark::DoNotOptimize(document.table.cell(1, 1).data());
    }
}
BENCHMARK(Append_AppendOnly)->Unit(benchmark::kMillisecond);

// The whole `append` command: load the class, read and check the 20,000-row file, append, write.
void Append_FilesToFile(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    const std::string classPath = BenchTableStem() + "_class40";
    WriteDataFile(classOf40(), classPath);
    const std::string out = BenchTableStem() + "_appended";
    QuietPrompter prompter;
    SilentStatusSink status;
    for (auto _ : state) {
        Document document;
        LoadData(document, classPath, true, prompter, status);
        document.takeSnapshot();
        ImpData(document, BenchTableStem(), prompter, status);
        WriteDataFile(document.table, out);
    }
    RemoveFile(out + ".skv");
    RemoveFile(classPath + ".skv");
}
BENCHMARK(Append_FilesToFile)->Unit(benchmark::kMillisecond);

// The export text of the loaded table, every formula computed (40,000 formulas).
void Csv_ExportOnly(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    for (auto _ : state) {
        std::string bytes = CsvExportBytes(table(), FormulaValues(table()));
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(Csv_ExportOnly)->Unit(benchmark::kMillisecond);

// The whole `csv` command: load the table, compute every formula, write the file.
void Csv_FileToFile(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    const std::string out = BenchTableStem() + "_export.csv";
    QuietPrompter prompter;
    SilentStatusSink status;
    for (auto _ : state) {
        Document document;
        LoadData(document, BenchTableStem(), true, prompter, status);
        WriteFileAtomically(out, CsvExportBytes(document.table, FormulaValues(document.table)));
    }
    RemoveFile(out);
}
BENCHMARK(Csv_FileToFile)->Unit(benchmark::kMillisecond);

// Loading alone, for comparison with the two above.
void Csv_LoadOnly(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    QuietPrompter prompter;
    SilentStatusSink status;
    for (auto _ : state) {
        Document document;
        LoadData(document, BenchTableStem(), true, prompter, status);
        benchmark::DoNotOptimize(document.table.cell(1, 1).data());
    }
}
BENCHMARK(Csv_LoadOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
