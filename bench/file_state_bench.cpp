// What looking after a shared file costs a save of the 20,000-student table: the file's state taken
// (read and hashed), the comparison before writing, and a whole 保存表格 of an opened table (state
// compared, file written, state of what was written kept) beside the plain write it wraps.
#include <benchmark/benchmark.h>

#include "bench/bench_table.h"
#include "bench/quiet_prompter.h"
#include "common/content_hash.h"
#include "common/file_io.h"
#include "common/file_state.h"
#include "common/status_sink.h"
#include "main/document/data_file.h"
#include "main/document/document_life.h"
#include "main/document/open_table.h"

namespace {

using namespace scorvane;

using bench::BenchTablePath;
using bench::BenchTableStem;
using bench::QuietPrompter;

void HashInMemory(benchmark::State& state) {
    const std::string bytes = *ReadWholeFile(BenchTablePath());
    for (auto _ : state) {
        benchmark::DoNotOptimize(HashBytes(bytes));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(HashInMemory)->Unit(benchmark::kMillisecond);

void TakeStateOfTable(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(TakeFileState(BenchTablePath()));
    }
}
BENCHMARK(TakeStateOfTable)->Unit(benchmark::kMillisecond);

void CompareTableWithDisk(benchmark::State& state) {
    const FileState remembered = TakeFileState(BenchTablePath());
    for (auto _ : state) {
        if (CompareWithDisk(remembered, BenchTablePath()) != DiskChange::Unchanged) {
            state.SkipWithError("the table changed");
        }
    }
}
BENCHMARK(CompareTableWithDisk)->Unit(benchmark::kMillisecond);

// The plain write of the same table, for comparison.
void WriteTableOnly(benchmark::State& state) {
    QuietPrompter prompter;
    SilentStatusSink status;
    Document d;
    LoadData(d, BenchTableStem(), true, prompter, status);
    const std::string target = BenchTablePath() + ".written.skv";
    for (auto _ : state) {
        if (WriteTableFile(d, target, false, prompter, status) != SaveOutcome::Saved) {
            state.SkipWithError("save failed");
        }
    }
    RemoveFile(target);
}
BENCHMARK(WriteTableOnly)->Unit(benchmark::kMillisecond);

// 保存表格 of an opened table: its lock taken at opening, the comparison, the write (the overwrite
// question answered Yes by the quiet prompter).
void SaveOpenedTable(benchmark::State& state) {
    QuietPrompter prompter;
    SilentStatusSink status;
    const std::string copy = BenchTablePath() + ".shared";
    if (!WriteFileAtomically(copy + ".skv", *ReadWholeFile(BenchTablePath()))) {
        state.SkipWithError("no copy");
        return;
    }
    {
        Document d;
        if (OpenTable(d, copy, prompter, status) != LoadOutcome::Loaded) {
            state.SkipWithError("open failed");
        }
        for (auto _ : state) {
            if (SaveTable(d, prompter, status) != SaveOutcome::Saved) {
                state.SkipWithError("save failed");
            }
        }
    }
    RemoveFile(copy + ".skv");
}
BENCHMARK(SaveOpenedTable)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!bench::PrepareBenchTable()) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
