#include "common/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <time.h>
#include <cerrno>
#include <ctime>
#include <vector>

#include "common/percent_escape.h"
#include "common/text_codec.h"
#include "common/utf8.h"

namespace scorvane {
namespace {

constexpr std::string_view kLockPrefix = ".~lock.";
constexpr std::string_view kLockSuffix = "#";
constexpr std::string_view kEscapedInNames = ",";
// A lock line is some tens of bytes; anything much longer is no lock of ours.
constexpr size_t kMostLockBytes = 4096;
constexpr long kLargestPid = 0x7FFFFFFF;
// Rounds of making the lock or looking at who holds it; several programs taking over one stale lock
// at once take turns within them.
constexpr int kAttempts = 64;

enum class Read { Sound, Missing, Unreadable };

// The lock file's bytes: only from a regular file (not through a link, not a pipe) of a lock's size.
Read readLock(const std::string& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        // No lock where there is no folder (or a file stands in a folder's place), nor where the lock's
        // name would be longer than the file system allows.
        return errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG ? Read::Missing
                                                                            : Read::Unreadable;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        static_cast<uint64_t>(st.st_size) > kMostLockBytes) {
        ::close(fd);
        return Read::Unreadable;
    }
    bytes.assign(kMostLockBytes + 1, '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    return got > 0 && got <= kMostLockBytes ? Read::Sound : Read::Unreadable;
}

bool hasControlCharacter(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        const size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

// The time something at `path` was last changed, as LockTimeForDisplay shows a lock's time.
std::string changedTime(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        return std::string(kUnknownTime);
    }
    std::tm local{};
    ::localtime_r(&st.st_mtim.tv_sec, &local);
    char text[32];
    return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local));
}

LockInspection unreadableLock(const std::string& lockPath) {
    LockInspection inspection;
    inspection.state = LockState::Unreadable;
    inspection.owner = {std::string(kUnknownUser), std::string(kUnknownHost), 0, changedTime(lockPath)};
    return inspection;
}

LockInspection inspectPath(const std::string& lockPath, const LockIdentity& identity) {
    LockInspection inspection;
    switch (readLock(lockPath, inspection.bytes)) {
        case Read::Missing:
            return inspection;
        case Read::Unreadable:
            return unreadableLock(lockPath);
        case Read::Sound:
            break;
    }
    std::optional<LockOwner> owner = ParseLockLine(inspection.bytes);
    if (!owner) {
        return unreadableLock(lockPath);
    }
    inspection.owner = std::move(*owner);
    const bool thisHost = EqualsIgnoreCaseAscii(inspection.owner.host, identity.host);
    const bool runs = !identity.programRuns || identity.programRuns(inspection.owner.pid);
    inspection.state = thisHost && !runs ? LockState::Stale : LockState::Live;
    return inspection;
}

// Creates the lock file holding `line`; 0, or the errno of the failure.
int createLock(const std::string& lockPath, const std::string& line) {
    const int fd = ::open(lockPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return errno;
    }
    size_t written = 0;
    while (written < line.size()) {
        const ssize_t n = ::write(fd, line.data() + written, line.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int error = n == 0 ? ENOSPC : errno;
            ::close(fd);
            ::unlink(lockPath.c_str());
            return error;
        }
        written += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(lockPath.c_str());
        return error;
    }
    return 0;
}

// Removes the lock file while it still holds `bytes`: 0 when it was removed, -1 when it holds something
// else now (or is gone), or the errno of a removal the folder does not allow.
int removeIfStill(const std::string& lockPath, std::string_view bytes) {
    std::string now;
    if (readLock(lockPath, now) != Read::Sound || now != bytes) {
        return -1;
    }
    return ::unlink(lockPath.c_str()) == 0 ? 0 : errno;
}

enum class Takeover {
    Removed,  // the stale lock is gone: make ours
    Again,    // something else stands there now (or nothing): look again
    Wait,     // another program is taking it over this moment: look again after a pause
    Failed,   // the folder does not allow its removal: see the errno
};

// Removes the stale lock file holding `staleBytes`, and only that one, also when several programs found
// it stale at once. Each of them opens what stands there and takes the file's own flock before it looks:
// so they take turns, and whoever comes second finds that the path no longer leads to the file it holds
// (or that it holds another program's fresh lock). The flock is held only for that look; a lock file is
// otherwise never flocked, so that a file system without flock still gets the lock, as before.
Takeover removeStale(const std::string& lockPath, std::string_view staleBytes, int& error) {
    const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        return Takeover::Again;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return Takeover::Wait;
    }
    std::string held(kMostLockBytes + 1, '\0');
    ssize_t got = 0;
    do {
        got = ::pread(fd, held.data(), held.size(), 0);
    } while (got < 0 && errno == EINTR);
    held.resize(got > 0 ? static_cast<size_t>(got) : 0);
    struct stat opened {};
    struct stat standing {};
    Takeover result = Takeover::Again;
    if (held == staleBytes && ::fstat(fd, &opened) == 0 && ::lstat(lockPath.c_str(), &standing) == 0 &&
        opened.st_dev == standing.st_dev && opened.st_ino == standing.st_ino) {
        if (::unlink(lockPath.c_str()) == 0) {
            result = Takeover::Removed;
        } else if (errno != ENOENT) {
            error = errno;
            result = Takeover::Failed;
        }
    }
    ::close(fd);
    return result;
}

// A short pause while another program takes over the same stale lock.
void waitAMoment() {
    const struct timespec wait { 0, 2'000'000 };
    ::nanosleep(&wait, nullptr);
}

}  // namespace

std::string LockFilePath(const std::string& file) {
    const size_t slash = file.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string path = file.substr(0, nameStart);
    path += kLockPrefix;
    path.append(file, nameStart);
    path += kLockSuffix;
    return path;
}

std::string LockLine(const LockOwner& owner) {
    return PercentEscape(owner.user, kEscapedInNames) + "," + PercentEscape(owner.host, kEscapedInNames) +
           "," + std::to_string(owner.pid) + "," + owner.time;
}

std::optional<LockOwner> ParseLockLine(std::string_view bytes) {
    if (bytes.size() > kMostLockBytes || !IsValidUtf8(bytes)) {
        return std::nullopt;
    }
    if (!bytes.empty() && bytes.back() == '\n') {
        bytes.remove_suffix(1);
        if (!bytes.empty() && bytes.back() == '\r') {
            bytes.remove_suffix(1);
        }
    }
    const std::vector<std::string_view> fields = splitFields(bytes);
    if (fields.size() != 4) {
        return std::nullopt;
    }
    LockOwner owner;
    std::optional<std::string> user = PercentUnescape(fields[0]);
    std::optional<std::string> host = PercentUnescape(fields[1]);
    long long pid = 0;
    if (!user || !host || user->empty() || host->empty() || fields[3].empty() ||
        !ParseWholeNumber(fields[2], 1, kLargestPid, pid) || fields[2].front() == '+') {
        return std::nullopt;
    }
    owner.user = std::move(*user);
    owner.host = std::move(*host);
    owner.pid = static_cast<long>(pid);
    owner.time = std::string(fields[3]);
    if (hasControlCharacter(owner.user) || hasControlCharacter(owner.host) ||
        hasControlCharacter(owner.time) || !IsValidUtf8(owner.user) || !IsValidUtf8(owner.host)) {
        return std::nullopt;
    }
    return owner;
}

std::string LockTimeForDisplay(std::string_view time) {
    auto digits = [&](size_t from, size_t count) {
        for (size_t i = from; i < from + count; ++i) {
            if (time[i] < '0' || time[i] > '9') {
                return false;
            }
        }
        return true;
    };
    // YYYY-MM-DDTHH:MM
    if (time.size() >= 16 && digits(0, 4) && time[4] == '-' && digits(5, 2) && time[7] == '-' &&
        digits(8, 2) && (time[10] == 'T' || time[10] == ' ') && digits(11, 2) && time[13] == ':' &&
        digits(14, 2)) {
        return std::string(time.substr(0, 10)) + " " + std::string(time.substr(11, 5));
    }
    return std::string(time);
}

LockInspection InspectLock(const std::string& file, const LockIdentity& identity) {
    return inspectPath(LockFilePath(file), identity);
}

FileLock::FileLock(FileLock&& other) noexcept
    : lockPath_(std::move(other.lockPath_)), line_(std::move(other.line_)) {
    other.lockPath_.clear();
    other.line_.clear();
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        lockPath_ = std::move(other.lockPath_);
        line_ = std::move(other.line_);
        other.lockPath_.clear();
        other.line_.clear();
    }
    return *this;
}

void FileLock::release() {
    if (held()) {
        removeIfStill(lockPath_, line_);
        lockPath_.clear();
        line_.clear();
    }
}

LockAttempt TakeLock(const std::string& file, const LockIdentity& identity) {
    LockAttempt attempt;
    const std::string lockPath = LockFilePath(file);
    const std::string line =
        LockLine({identity.user, identity.host, identity.pid, identity.now ? identity.now() : IsoTimeNow()});
    bool tookOver = false;
    // Each round either makes the lock or learns who holds it; a lock that vanishes between the two
    // (its program just closed the file) sends us round again.
    for (int round = 0; round < kAttempts; ++round) {
        const int error = createLock(lockPath, line);
        if (error == 0) {
            attempt.result = tookOver ? LockAttempt::Result::TakenOver : LockAttempt::Result::Taken;
            attempt.lock.lockPath_ = lockPath;
            attempt.lock.line_ = line;
            return attempt;
        }
        if (error != EEXIST) {
            attempt.result = LockAttempt::Result::NotCreated;
            attempt.error = error;
            return attempt;
        }
        LockInspection holder = inspectPath(lockPath, identity);
        if (holder.state == LockState::Stale) {
            // Only the stale lock as read goes: one that another program put there meanwhile stays, and
            // the next round looks at it.
            int removalError = 0;
            switch (removeStale(lockPath, holder.bytes, removalError)) {
                case Takeover::Removed:
                    tookOver = true;
                    break;
                case Takeover::Again:
                    break;
                case Takeover::Wait:
                    waitAMoment();
                    break;
                case Takeover::Failed:
                    attempt.result = LockAttempt::Result::NotCreated;
                    attempt.error = removalError;
                    return attempt;
            }
            continue;
        }
        if (holder.state != LockState::None) {
            attempt.result = LockAttempt::Result::Busy;
            attempt.holder = std::move(holder);
            return attempt;
        }
    }
    attempt.result = LockAttempt::Result::Busy;
    attempt.holder = unreadableLock(lockPath);
    return attempt;
}

}  // namespace scorvane
