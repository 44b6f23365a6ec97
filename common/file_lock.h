#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/lock_identity.h"

namespace scorvane {

// Lock files: while a program has a file open for editing, a small file beside it says who: the
// lock file ".~lock.<file name>#" (the name other office programs of this platform give theirs, so
// that the users of a file manager know it), holding one line "user,host,pid,time" in UTF-8. It is made
// with O_CREAT|O_EXCL, which holds on network file systems where flock does not, and with the folder's
// usual permissions, so that colleagues can read it. A program that ends removes its lock; one that
// crashes leaves it, and the lock is then stale: its computer is this one and its process no longer
// runs (or is no program of ours). A lock of another computer is never stale: we cannot see its
// processes.

// What a teacher is told of a lock that cannot be read.
inline constexpr std::string_view kUnknownUser = "未知用户";
inline constexpr std::string_view kUnknownHost = "未知计算机";
inline constexpr std::string_view kUnknownTime = "未知时间";

// The lock file of `file` (a path with its whole file name): beside it, ".~lock.<file name>#". It can
// never be the name of an atomic writer's temporary file (".NAME.tmp" and digits) nor of a recovery
// copy (those live in the per-user recovery folder, named by session).
std::string LockFilePath(const std::string& file);

// Who holds a lock.
struct LockOwner {
    std::string user;
    std::string host;
    long pid = 0;
    std::string time;  // ISO 8601 as written
    bool operator==(const LockOwner&) const = default;
};

// The lock's one line: the four fields joined by commas, with no line end. A comma, '%', CR or LF in
// the user's or the host's name is written as "%2C", "%25", "%0D", "%0A" (names on this platform
// rarely hold them, but a directory service may give a login name with a comma).
std::string LockLine(const LockOwner& owner);

// Reads a lock's bytes: exactly four fields (a line end after them is allowed), the names unescaped,
// valid UTF-8 without control characters, a user and a host that are not empty, a process id from 1,
// a time that is not empty. Nothing otherwise.
std::optional<LockOwner> ParseLockLine(std::string_view bytes);

// The lock's time as a teacher reads it: "2024-09-02 08:05" from "2024-09-02T08:05:09+08:00"; any
// other text as it stands.
std::string LockTimeForDisplay(std::string_view time);

enum class LockState {
    None,        // no lock file
    Live,        // another program holds the file
    Stale,       // left by a program of this computer that no longer runs
    Unreadable,  // something stands there that is no lock we can read: taken for another user's
};

struct LockInspection {
    LockState state = LockState::None;
    // The holder; for an unreadable lock 未知用户 on 未知计算机, at the time the thing there was last
    // changed (or 未知时间).
    LockOwner owner;
    std::string bytes;  // the lock's bytes as read (a sound lock only)
};

// Looks at the lock file of `file` without following a symbolic link, without waiting on a pipe and
// reading at most a few kilobytes: an empty, binary or huge file, a link, a folder or a pipe of that name
// is Unreadable.
LockInspection InspectLock(const std::string& file, const LockIdentity& identity);

struct LockAttempt;
LockAttempt TakeLock(const std::string& file, const LockIdentity& identity);

// A lock file this program made. Released (or destroyed, or moved from) it removes the lock file, but
// only while that still holds the line it wrote: a lock someone took over after us is theirs.
class FileLock {
  public:
    FileLock() = default;
    ~FileLock() { release(); }
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return !lockPath_.empty(); }
    const std::string& lockPath() const { return lockPath_; }
    const std::string& line() const { return line_; }
    void release();

  private:
    friend LockAttempt TakeLock(const std::string& file, const LockIdentity& identity);
    std::string lockPath_;
    std::string line_;
};

struct LockAttempt {
    enum class Result {
        Taken,       // there was no lock: ours now
        TakenOver,   // a stale lock was replaced by ours
        Busy,        // another program holds it (or an unreadable lock stands there): see `holder`
        NotCreated,  // no lock file can be made there (a read-only share, no permission): see `error`
    };
    Result result = Result::NotCreated;
    FileLock lock;
    LockInspection holder;
    int error = 0;  // errno of the failed creation
};

// Takes the lock of `file` for `identity`: creates the lock file when there is none, replaces a stale
// one, and otherwise says who holds it.
LockAttempt TakeLock(const std::string& file, const LockIdentity& identity);

}  // namespace scorvane
