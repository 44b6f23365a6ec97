#pragma once

#include <functional>
#include <string>

namespace scorvane {

// Who takes a lock file: the user's login name, the computer's name and the process, with the two
// things a lock needs to know of the system: whether a process of this computer is a running program
// of ours (scorvane or velmora), and the time. Tests make two of them in one process, with host names
// and process ids of their own, to play two programs on one folder.
struct LockIdentity {
    std::string user;
    std::string host;
    long pid = 0;
    // True while the process `pid` of this computer runs and is scorvane or velmora.
    std::function<bool(long pid)> programRuns;
    // The time as ISO 8601, local time with its offset: "2024-09-02T08:05:09+08:00".
    std::function<std::string()> now;

    // This process: the login name of its user, the host name, its process id, the system's process
    // table (/proc) and clock.
    static LockIdentity ThisProgram();
};

// Whether the process `pid` of this computer may be one of our programs: false only when no such process
// exists (kill(pid, 0) fails with ESRCH) or when its executable can be read and is another program
// than scorvane or velmora (the process id was given again). A process that exists but cannot be
// looked at (another user's, a /proc mounted with hidepid) counts as ours.
bool OurProgramRuns(long pid);

// The time now as LockIdentity::now gives it.
std::string IsoTimeNow();

}  // namespace scorvane
