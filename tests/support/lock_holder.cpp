#include "support/lock_holder.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "common/file_lock.h"

namespace scorvane::testing {

std::string ThisHost() {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

pid_t StartLockHolder(const std::string& file, const std::string& user, const std::string& folder) {
    const std::string program = folder + "/scorvane";
    std::error_code error;
    if (!std::filesystem::exists(program) && !std::filesystem::copy_file("/bin/sleep", program, error)) {
        return -1;
    }
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0) {
        return -1;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        LockIdentity identity;
        identity.user = user;
        identity.host = ThisHost();
        identity.pid = ::getpid();
        identity.now = [] { return std::string("2024-09-02T08:05:09+08:00"); };
        LockAttempt attempt = TakeLock(file, identity);
        if (attempt.result != LockAttempt::Result::Taken &&
            attempt.result != LockAttempt::Result::TakenOver) {
            (void)!::write(ready[1], "x", 1);
            ::_exit(1);
        }
        ::execl(program.c_str(), program.c_str(), "60", static_cast<char*>(nullptr));
        (void)!::write(ready[1], "x", 1);
        ::_exit(1);
    }
    ::close(ready[1]);
    // The pipe closes when the program runs (or says that it failed).
    char failed = 0;
    const ssize_t n = ::read(ready[0], &failed, 1);
    ::close(ready[0]);
    if (pid > 0 && n != 0) {
        ::waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

}  // namespace scorvane::testing
