#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scorvane::testing {

// The ways a step of an atomic write can fail, each as the system reports it.
enum class WriteFault {
    CreateTemporary,  // the temporary file cannot be made (EACCES)
    ShortWrite,       // the first write takes part of the bytes, the next one none: the disk is full
    NoSpace,          // the first write fails with ENOSPC
    Flush,            // the flush to disk fails (EIO)
    Close,            // closing fails (EIO; the descriptor is released all the same)
    Rename,           // the temporary file cannot be renamed over the target (EIO)
};
inline constexpr WriteFault kAllWriteFaults[] = {WriteFault::CreateTemporary, WriteFault::ShortWrite,
                                                 WriteFault::NoSpace,         WriteFault::Flush,
                                                 WriteFault::Close,           WriteFault::Rename};
std::string_view WriteFaultName(WriteFault fault);

// While it lives, every atomic write of this process fails at the given step; the other steps are
// the system's own. Counts the failures it caused.
class ScopedWriteFault {
  public:
    explicit ScopedWriteFault(WriteFault fault);
    ~ScopedWriteFault();
    ScopedWriteFault(const ScopedWriteFault&) = delete;
    ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;
    int failures() const;
};

// While it lives, every write call of an atomic write takes at most `chunk` bytes (as pipes and some
// file systems do): a correct writer goes on until everything is written.
class ScopedShortWrites {
  public:
    explicit ScopedShortWrites(size_t chunk);
    ~ScopedShortWrites();
    ScopedShortWrites(const ScopedShortWrites&) = delete;
    ScopedShortWrites& operator=(const ScopedShortWrites&) = delete;
    int calls() const;
};

// The names in a folder, sorted (what a failed save must leave as it found it).
std::vector<std::string> FolderEntries(const std::string& folder);

}  // namespace scorvane::testing
