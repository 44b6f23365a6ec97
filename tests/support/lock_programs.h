#pragma once

#include <set>
#include <string>

#include "common/lock_identity.h"

namespace scorvane::testing {

// A program of the tests, as lock files see it: its user, host and process id, the processes of its
// host that are programs of ours (its own among them), and a fixed clock, 2024-09-02T08:05:09+08:00.
// Two of them in one test play two programs on one shared folder.
inline LockIdentity LockProgram(std::string user, std::string host, long pid, std::set<long> running = {}) {
    LockIdentity identity;
    identity.user = std::move(user);
    identity.host = std::move(host);
    identity.pid = pid;
    running.insert(pid);
    identity.programRuns = [running](long p) { return running.count(p) > 0; };
    identity.now = [] { return std::string("2024-09-02T08:05:09+08:00"); };
    return identity;
}

}  // namespace scorvane::testing
