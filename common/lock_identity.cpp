#include "common/lock_identity.h"

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string_view>

namespace scorvane {
namespace {

constexpr std::array<std::string_view, 2> kOurPrograms = {"scorvane", "velmora"};

bool isOurProgramName(std::string_view name) {
    // An executable replaced by an update while it runs shows as "NAME (deleted)".
    constexpr std::string_view kDeleted = " (deleted)";
    if (name.size() > kDeleted.size() && name.substr(name.size() - kDeleted.size()) == kDeleted) {
        name.remove_suffix(kDeleted.size());
    }
    for (std::string_view ours : kOurPrograms) {
        if (name == ours) {
            return true;
        }
    }
    return false;
}

std::string loginName() {
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name && *entry->pw_name) {
        return entry->pw_name;
    }
    for (const char* variable : {"LOGNAME", "USER"}) {
        if (const char* value = std::getenv(variable); value && *value) {
            return value;
        }
    }
    return std::to_string(::geteuid());
}

std::string hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "localhost";
    }
    return name;
}

}  // namespace

bool OurProgramRuns(long pid) {
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) {
        return false;
    }
    // Only a process that does not exist has ended. One that exists but is another user's (EPERM), or
    // whose entry in /proc cannot be read (a /proc mounted with hidepid, a sandbox with process ids of
    // its own), may well be a colleague's program: its lock stands.
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
        return false;
    }
    char target[4096];
    const ssize_t n =
        ::readlink(("/proc/" + std::to_string(pid) + "/exe").c_str(), target, sizeof target - 1);
    if (n <= 0) {
        return true;
    }
    // A process we may look at is known for what it is: another program has the process id now.
    std::string_view path(target, static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    return isOurProgramName(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string IsoTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[64];
    const size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    std::string iso(text, n);
    // strftime gives the offset as +0800; ISO 8601's extended form writes +08:00.
    if (iso.size() >= 5 && (iso[iso.size() - 5] == '+' || iso[iso.size() - 5] == '-')) {
        iso.insert(iso.size() - 2, ":");
    }
    return iso;
}

LockIdentity LockIdentity::ThisProgram() {
    LockIdentity identity;
    identity.user = loginName();
    identity.host = hostName();
    identity.pid = static_cast<long>(::getpid());
    identity.programRuns = OurProgramRuns;
    identity.now = IsoTimeNow;
    return identity;
}

}  // namespace scorvane
