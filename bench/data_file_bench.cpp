// Load and save of the 20,000-student table, side by side with decoding the same file through the
// system converter (iconv, in process and as the `iconv` program). Prints the times and the ratios.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/bench_table.h"
#include "bench/quiet_prompter.h"
#include "common/file_io.h"
#include "common/status_sink.h"
#include "main/document/data_file.h"

namespace {

using namespace scorvane;

using bench::BenchTablePath;
using bench::BenchTableStem;
using bench::QuietPrompter;

void IconvDecodeInProcess(benchmark::State& state) {
    for (auto _ : state) {
        std::string bytes = *ReadWholeFile(BenchTablePath());
        iconv_t cd = iconv_open("UTF-8", "GBK");
        std::string out(bytes.size() * 2, '\0');
        char* in = bytes.data();
        size_t inLeft = bytes.size();
        char* o = out.data();
        size_t outLeft = out.size();
        iconv(cd, &in, &inLeft, &o, &outLeft);
        iconv_close(cd);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(IconvDecodeInProcess)->Unit(benchmark::kMillisecond);

void IconvProgram(benchmark::State& state) {
    std::string command = "iconv -f GBK -t UTF-8 '" + BenchTablePath() + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("iconv failed");
        }
    }
}
BENCHMARK(IconvProgram)->Unit(benchmark::kMillisecond);

void LoadTable(benchmark::State& state) {
    QuietPrompter prompter;
    SilentStatusSink status;
    for (auto _ : state) {
        Document d;
        if (LoadData(d, BenchTableStem(), true, prompter, status) != LoadOutcome::Loaded) {
            state.SkipWithError("load failed");
        }
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(LoadTable)->Unit(benchmark::kMillisecond);

void SaveTable(benchmark::State& state) {
    QuietPrompter prompter;
    SilentStatusSink status;
    Document d;
    LoadData(d, BenchTableStem(), true, prompter, status);
    std::string target = BenchTablePath() + ".saved";
    for (auto _ : state) {
        if (SaveData(d, false, target, prompter, status) != SaveOutcome::Saved) {
            state.SkipWithError("save failed");
        }
    }
    RemoveFile(target + ".skv");
}
BENCHMARK(SaveTable)->Unit(benchmark::kMillisecond);

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
