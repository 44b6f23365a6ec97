#include "common/file_lock.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"

namespace scorvane::fuzz {

// A lock line that reads names a user, a host and a process, writes back as one line that reads as the
// same owner, and shows its time no longer than it is written.
int FuzzLockFile(const uint8_t* data, size_t size) {
    const std::optional<LockOwner> owner = ParseLockLine(Bytes(data, size));
    if (!owner) {
        return 0;
    }
    Check(!owner->user.empty() && !owner->host.empty() && owner->pid >= 1, "a user, a host and a process");
    const std::string written = LockLine(*owner);
    Check(written.find('\n') == std::string::npos && written.find('\r') == std::string::npos, "one line");
    Check(ParseLockLine(written) == owner, "what was read writes back to a line that reads the same");
    Check(LockTimeForDisplay(owner->time).size() <= owner->time.size(), "the time shown is never longer");
    return 0;
}

}  // namespace scorvane::fuzz
