#pragma once

#include <sys/types.h>

#include <string>

namespace scorvane::testing {

// This computer's name, as lock files give it.
std::string ThisHost();

// Another program of ours on this computer with `file` open: a process that takes the file's lock as
// `user` (time 2024-09-02T08:05:09+08:00) and then runs on as a program named scorvane (a copy of
// sleep in `folder`), so that the lock is live for every program of this computer. Its process id, or
// -1; stop it with kill and WaitForProgram (the lock stays, as a crash leaves it).
pid_t StartLockHolder(const std::string& file, const std::string& user, const std::string& folder);

}  // namespace scorvane::testing
