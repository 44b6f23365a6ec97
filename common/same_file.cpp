#include "common/same_file.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <memory>

namespace scorvane {
namespace {

// The folder of a path as the system resolves it, and the name in it; empty when the folder does not
// exist.
std::string resolvedPlace(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    std::unique_ptr<char, decltype(&::free)> real(::realpath(folder.c_str(), nullptr), &::free);
    if (!real) {
        return {};
    }
    return std::string(real.get()) + "/" + path.substr(slash == std::string::npos ? 0 : slash + 1);
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) {
        return false;
    }
    if (a == b) {
        return true;
    }
    struct stat first {};
    struct stat second {};
    const bool firstExists = ::stat(a.c_str(), &first) == 0;
    const bool secondExists = ::stat(b.c_str(), &second) == 0;
    if (firstExists && secondExists) {
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    }
    if (firstExists != secondExists) {
        return false;
    }
    const std::string placeA = resolvedPlace(a);
    return !placeA.empty() && placeA == resolvedPlace(b);
}

}  // namespace scorvane
