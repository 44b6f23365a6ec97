#include "common/recovery/recovery_session.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <random>

namespace scorvane {

std::string NewSessionId() {
    std::random_device system;
    const uint64_t number = (static_cast<uint64_t>(system()) << 32) ^ system();
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(number));
    return text;
}

std::string RecoverySession::LockFileName(const std::string& session) {
    return session + ".lock";
}

RecoverySession::RecoverySession(std::string folder) : folder_(std::move(folder)), id_(NewSessionId()) {
    const std::string making = folder_ + "/" + id_ + ".locking";
    const std::string lock = folder_ + "/" + LockFileName(id_);
    int fd = ::open(making.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::rename(making.c_str(), lock.c_str()) != 0) {
        ::close(fd);
        ::unlink(making.c_str());
        return;
    }
    fd_ = fd;
}

RecoverySession::~RecoverySession() {
    if (fd_ >= 0) {
        ::unlink((folder_ + "/" + LockFileName(id_)).c_str());
        ::close(fd_);
    }
}

bool RecoverySession::IsRunning(const std::string& folder, const std::string& session) {
    const std::string lock = folder + "/" + LockFileName(session);
    int fd = ::open(lock.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    const bool running = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
    ::close(fd);
    return running;
}

}  // namespace scorvane
