#include "common/lock_identity.h"

#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <ctime>
#include <string_view>

#include "common/file_io.h"

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
    if (pid <= 0) {
        return false;
    }
    const std::string process = "/proc/" + std::to_string(pid);
    char target[4096];
    const ssize_t n = ::readlink((process + "/exe").c_str(), target, sizeof target - 1);
    if (n > 0) {
        std::string_view path(target, static_cast<size_t>(n));
        const size_t slash = path.rfind('/');
        return isOurProgramName(slash == std::string_view::npos ? path : path.substr(slash + 1));
    }
    // Another user's process: only its command name can be read (the first 15 bytes of the name).
    std::optional<std::string> comm = ReadWholeFile(process + "/comm");
    if (!comm) {
        return false;
    }
    while (!comm->empty() && (comm->back() == '\n' || comm->back() == '\r')) {
        comm->pop_back();
    }
    return isOurProgramName(*comm);
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
