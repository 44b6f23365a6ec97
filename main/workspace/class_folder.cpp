#include "main/workspace/class_folder.h"

#include <algorithm>

#include "common/file_io.h"
#include "common/utf8.h"
#include "main/workspace/utilities.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane {
namespace {

constexpr std::string_view kTableExtension = ".skv";

bool staysInside(std::string_view path) {
    size_t start = 0;
    while (true) {
        size_t slash = path.find('/', start);
        std::string_view level =
            TrimBlanks(path.substr(start, slash == std::string_view::npos ? slash : slash - start));
        if (level == "." || level == "..") {
            return false;
        }
        if (slash == std::string_view::npos) {
            return true;
        }
        start = slash + 1;
    }
}

}  // namespace

std::string ClassFolder(std::string_view nodeFullPath) {
    if (!staysInside(nodeFullPath)) {
        return std::string();
    }
    std::string folder = DataFolder();
    folder += nodeFullPath;
    folder += '/';
    return folder;
}

bool EnsureClassFolder(std::string_view nodeFullPath) {
    std::string folder = ClassFolder(nodeFullPath);
    return !folder.empty() && MakeDirectories(DataFolder()) && MakeDirectories(folder);
}

std::vector<std::string> ListTables(const std::string& folder) {
    std::vector<std::string> names = FilesWithExtension(folder, kTableExtension);
    for (std::string& name : names) {
        name.resize(name.size() - kTableExtension.size());
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        std::string la = ToLowerAscii(a);
        std::string lb = ToLowerAscii(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

std::vector<std::string> PrepareClassTables(std::string_view nodeFullPath) {
    if (!EnsureClassFolder(nodeFullPath)) {
        return {};
    }
    return ListTables(ClassFolder(nodeFullPath));
}

std::string ClassTablePath(std::string_view nodeFullPath, std::string_view name) {
    std::string folder = ClassFolder(nodeFullPath);
    if (folder.empty()) {
        return folder;
    }
    return folder + std::string(name);
}

}  // namespace scorvane
