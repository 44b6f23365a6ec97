#pragma once

#include <functional>

namespace scorvane::testing {

// Runs the check as a user whom folder permissions bind. Under an administrator account (which ignores
// them, as CI containers often do) the check runs in a child process that has given up its rights.
// Returns the check's result; false when it could not be run.
bool RunWithoutPrivileges(const std::function<bool()>& check);

}  // namespace scorvane::testing
