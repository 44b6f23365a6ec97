// libFuzzer's entry for one target: the clang build compiles this file once per target with
// SCORVANE_FUZZ_TARGET naming the target (its folder name in tests/fuzz/corpus).
#include <cstdlib>
#include <string_view>

#include "fuzz/fuzz_targets.h"

namespace {

using Entry = int (*)(const uint8_t*, size_t);

Entry entryOfThisTarget() {
    for (const scorvane::fuzz::FuzzTarget& target : scorvane::fuzz::kFuzzTargets) {
        if (target.name == std::string_view(SCORVANE_FUZZ_TARGET)) {
            return target.entry;
        }
    }
    std::abort();
}

const Entry gEntry = entryOfThisTarget();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return gEntry(data, size);
}
