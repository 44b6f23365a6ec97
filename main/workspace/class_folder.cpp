#include "main/workspace/class_folder.h"

#include <algorithm>

#include "common/file_io.h"
#include "common/gbk_order.h"
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
    // In the order of the names as the sort orders texts (GBK), Latin letters without regard to case.
    struct Entry {
        std::string key;
        std::string name;
    };
    std::vector<Entry> entries;
    for (std::string& file : FilesWithExtension(folder, kTableExtension)) {
        file.resize(file.size() - kTableExtension.size());
        entries.push_back({GbkOrderKey(ToLowerAscii(file)), std::move(file)});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.key != b.key ? a.key < b.key : a.name < b.name;
    });
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (Entry& entry : entries) {
        names.push_back(std::move(entry.name));
    }
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
