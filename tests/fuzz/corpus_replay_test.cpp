// Every seed of every fuzz target, and every input that once made a reader fail, run through the
// targets' own entry functions in the ordinary build: CI guards the readers without clang.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "fuzz/fuzz_targets.h"
#include "support/temp_dir.h"

namespace scorvane::fuzz {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class CorpusReplay : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(CorpusReplay, EverySeedAndEveryFormerFindingPasses) {
    const FuzzTarget& target = GetParam();
    const fs::path fuzz = fs::path(SCORVANE_SOURCE_DIR) / "tests" / "fuzz";
    const std::vector<fs::path> seeds = FilesIn(fuzz / "corpus" / target.name);
    EXPECT_FALSE(seeds.empty()) << "no seed corpus for " << target.name;
    std::vector<fs::path> all = seeds;
    for (const fs::path& found : FilesIn(fuzz / "regressions" / target.name)) {
        all.push_back(found);
    }
    for (const fs::path& file : all) {
        // A broken rule aborts the process; the name on stderr tells which input did it.
        std::fprintf(stderr, "replaying %s\n", file.c_str());
        const std::string bytes = testing::ReadBytes(file.string());
        EXPECT_EQ(target.entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
    }
    EXPECT_TRUE(fs::exists(fuzz / "dict" / (std::string(target.name) + ".dict")));
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay, ::testing::ValuesIn(kFuzzTargets),
                         [](const ::testing::TestParamInfo<FuzzTarget>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace scorvane::fuzz
