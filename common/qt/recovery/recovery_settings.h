#pragma once

#include <QString>
#include <cstdint>

namespace scorvane {

// Where the recovery copies live: the per-user application data folder + "/recovery"
// (~/.local/share/KVL'S Scorvane/recovery), shared by both programs.
QString RecoveryFolderPath();

// The interval between copies in milliseconds (0: no copies): SCORVANE_RECOVERY_INTERVAL, else the
// setting "Recovery/IntervalSeconds", else 60 seconds.
int64_t RecoveryIntervalSetting();

}  // namespace scorvane
