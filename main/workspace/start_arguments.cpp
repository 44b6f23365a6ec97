#include "main/workspace/start_arguments.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "common/file_io.h"
#include "main/document/data_file.h"

namespace scorvane {
namespace fs = std::filesystem;

StartArguments ParseStartArguments(const std::vector<std::string>& arguments) {
    StartArguments out;
    bool options = true;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (!options || a.empty() || a[0] != '-' || a == "-") {
            out.files.push_back(a);
        } else if (a == "--") {
            options = false;
        } else if (a == "--workspace" && i + 1 < arguments.size()) {
            out.workspace = arguments[++i];
        } else if (a.rfind("--workspace=", 0) == 0) {
            out.workspace = a.substr(12);
        } else if (a == "--help" || a == "-h") {
            out.help = true;
        } else {
            out.unknown.push_back(a);
        }
    }
    return out;
}

std::string StartUsage() {
    return "用法：scorvane [--workspace 文件夹] [表格.skv ...]\n\n"
           "打开学校关系树所在的工作文件夹，并在表格窗口中打开给出的每个表格文件。\n"
           "程序已在运行时，表格在已打开的主窗口中打开。\n\n"
           "  --workspace 文件夹  工作文件夹（其中有 SchoolInfo.ini、表格数据、表格模版）；\n"
           "                      未给出时依次为环境变量 SCORVANE_HOME、程序所在文件夹、\n"
           "                      ~/.local/share/KVL'S Scorvane\n"
           "  --help              显示本说明\n";
}

StartFile ClassifyStartFile(const std::string& given, const std::string& currentFolder) {
    fs::path path(given);
    if (path.is_relative()) {
        path = fs::path(currentFolder) / path;
    }
    const std::string full = path.lexically_normal().string();
    if (std::optional<std::string> table = ExistingDataPath(full)) {
        return {StartFile::Kind::Table, *table};
    }
    if (FileExists(full)) {
        return {StartFile::Kind::Foreign, full};
    }
    return {StartFile::Kind::Missing, full};
}

std::string InstanceChannelName(const std::string& workspaceFolder, unsigned userId) {
    // FNV-1a of the folder: a short, stable name for any path.
    uint64_t hash = 1469598103934665603ull;
    std::string folder = fs::path(workspaceFolder).lexically_normal().string();
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    for (unsigned char c : folder) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    char text[64];
    std::snprintf(text, sizeof text, "scorvane-%u-%016llx", userId, static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace scorvane
