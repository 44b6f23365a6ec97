#include "main/workspace/workspace_folder.h"

#include <unistd.h>

#include <filesystem>

#include "common/file_io.h"
#include "common/utf8.h"

namespace scorvane {
namespace fs = std::filesystem;
namespace {

std::string& programFolderSetting() {
    static std::string folder;
    return folder;
}

std::string withSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder.push_back('/');
    }
    return folder;
}

bool writable(const std::string& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

bool HoldsWorkspaceData(const std::string& folder) {
    if (!DirectoryExists(folder)) {
        return false;
    }
    std::string base = withSeparator(folder);
    if (DirectoryExists(base + "表格数据") || DirectoryExists(base + "表格模版")) {
        return true;
    }
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::path(folder), ec)) {
        if (EqualsIgnoreCaseAscii(entry.path().filename().string(), "SchoolInfo.ini")) {
            return true;
        }
    }
    return false;
}

std::string ResolveWorkspaceFolder(const WorkspaceCandidates& c) {
    if (!c.commandLine.empty()) {
        return fs::absolute(fs::path(c.commandLine)).lexically_normal().string();
    }
    if (!c.environment.empty()) {
        return fs::absolute(fs::path(c.environment)).lexically_normal().string();
    }
    if (!c.programDir.empty() && HoldsWorkspaceData(c.programDir) && writable(c.programDir)) {
        return c.programDir;
    }
    MakeDirectories(c.userDataDir);
    return c.userDataDir;
}

void SetProgramFolder(const std::string& folder) {
    programFolderSetting() = withSeparator(folder);
}

std::string ProgramFolder() {
    std::string& folder = programFolderSetting();
    if (folder.empty()) {
        std::error_code ec;
        folder = withSeparator(fs::current_path(ec).string());
    }
    return folder;
}

std::string DataFolder() {
    return ProgramFolder() + "表格数据/";
}
std::string TemplateFolder() {
    return ProgramFolder() + "表格模版/";
}
std::string ScratchPath() {
    return DataFolder() + "tmp";
}

}  // namespace scorvane
