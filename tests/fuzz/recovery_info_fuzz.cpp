#include "common/recovery/recovery_info.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"

namespace scorvane::fuzz {

// A sidecar that reads is written back to bytes that read as the same record, and writing that record
// again gives the same bytes.
int FuzzRecoveryInfo(const uint8_t* data, size_t size) {
    const std::optional<RecoveryInfo> info = ParseRecoveryInfo(Bytes(data, size));
    if (!info) {
        return 0;
    }
    Check(!info->session.empty() && info->session.size() <= 64, "a session of 1 to 64 characters");
    Check(info->time >= 0, "no time before 1970");
    const std::string written = SerializeRecoveryInfo(*info);
    const std::optional<RecoveryInfo> back = ParseRecoveryInfo(written);
    Check(back.has_value(), "what was written reads");
    Check(SerializeRecoveryInfo(*back) == written, "writing what was read back writes the same sidecar");
    return 0;
}

}  // namespace scorvane::fuzz
