#include "common/recovery/recovery_schedule.h"

#include <algorithm>

namespace scorvane {

void RecoverySchedule::edited(int64_t now) {
    if (enabled() && !due_) {
        due_ = now + interval_;
    }
}

void RecoverySchedule::changedInBulk(int64_t now) {
    if (due_) {
        due_ = std::min(*due_, now);
    }
}

void RecoverySchedule::copied() {
    due_.reset();
}

void RecoverySchedule::settled() {
    due_.reset();
}

}  // namespace scorvane
