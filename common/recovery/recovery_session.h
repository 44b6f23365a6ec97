#pragma once

#include <string>

namespace scorvane {

// A running program's claim on the recovery copies it writes: the lock file "<session>.lock" in the
// recovery folder, locked from the program's start to its end. The system lets go of the lock however
// the program ends, so a copy whose session is not locked was left by a program that is gone, and may
// be offered; the copies of a program still running are not.
class RecoverySession {
  public:
    // Makes the lock file (under another name until it is locked, so that nobody takes it for the
    // lock of an ended program) and locks it. held() tells whether that worked.
    explicit RecoverySession(std::string folder);
    // Lets go of the lock and removes the lock file.
    ~RecoverySession();
    RecoverySession(const RecoverySession&) = delete;
    RecoverySession& operator=(const RecoverySession&) = delete;

    const std::string& id() const { return id_; }
    bool held() const { return fd_ >= 0; }

    // True while the program of `session` runs (its lock file is locked).
    static bool IsRunning(const std::string& folder, const std::string& session);
    // The name of a session's lock file.
    static std::string LockFileName(const std::string& session);

  private:
    std::string folder_;
    std::string id_;
    int fd_ = -1;
};

// A new name for a session: 16 hexadecimal digits from the system's randomness.
std::string NewSessionId();

}  // namespace scorvane
