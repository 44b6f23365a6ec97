#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace scorvane {

// How often a document with unsaved changes is copied for recovery, in milliseconds; 0 turns the
// copies off. The per-user setting (group "Recovery", key "IntervalSeconds") holds it in seconds; the
// environment variable SCORVANE_RECOVERY_INTERVAL, set by an administrator or a test, overrides it.
inline constexpr int64_t kDefaultRecoveryIntervalSeconds = 60;
inline constexpr std::string_view kRecoveryIntervalVariable = "SCORVANE_RECOVERY_INTERVAL";

// The interval from the environment's value and the setting's (nothing when unset): the first of them
// that is a number of seconds from 0 to one day (a fraction such as "0.5" allowed) counts; a value
// that is no such number is passed over; without either, 60 seconds.
int64_t RecoveryIntervalMillis(std::optional<std::string_view> environment,
                               std::optional<std::string_view> setting);

}  // namespace scorvane
