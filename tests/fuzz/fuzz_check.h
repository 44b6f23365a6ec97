#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace scorvane::fuzz {

// A broken rule: says which and aborts, which the fuzzer and the replay test both report.
[[noreturn]] inline void Broken(std::string_view rule) {
    std::fprintf(stderr, "fuzz check failed: %.*s\n", static_cast<int>(rule.size()), rule.data());
    std::abort();
}

inline void Check(bool holds, std::string_view rule) {
    if (!holds) {
        Broken(rule);
    }
}

inline std::string_view Bytes(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace scorvane::fuzz
