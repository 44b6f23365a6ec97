#include "common/recovery/recovery_interval.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace scorvane {
namespace {

constexpr double kLongestSeconds = 24 * 60 * 60;

std::optional<int64_t> millisOf(std::optional<std::string_view> value) {
    if (!value) {
        return std::nullopt;
    }
    std::string text(*value);
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos || text.find_first_not_of("0123456789.", start) != std::string::npos) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str() + start, &end);
    if (*end != '\0' || !std::isfinite(seconds) || seconds < 0 || seconds > kLongestSeconds) {
        return std::nullopt;
    }
    return static_cast<int64_t>(std::llround(seconds * 1000));
}

}  // namespace

int64_t RecoveryIntervalMillis(std::optional<std::string_view> environment,
                               std::optional<std::string_view> setting) {
    if (auto fromEnvironment = millisOf(environment)) {
        return *fromEnvironment;
    }
    if (auto fromSetting = millisOf(setting)) {
        return *fromSetting;
    }
    return kDefaultRecoveryIntervalSeconds * 1000;
}

}  // namespace scorvane
