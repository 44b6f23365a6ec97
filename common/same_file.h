#pragma once

#include <string>

namespace scorvane {

// Whether two names lead to one file: the same name, or, when the file exists, the same file as the
// system finds it (a symbolic link in either path, "./" or "..", another letter case where the file
// system ignores case); when it does not exist, the same name in the same folder as the system resolves
// the folders.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace scorvane
