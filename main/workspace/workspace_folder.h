#pragma once

#include <string>

namespace scorvane {

// The workspace folder holds SchoolInfo.ini, 表格数据/ (the tables, one folder per class) and
// 表格模版/ (the field templates). Every file name of the system is formed from it.

struct WorkspaceCandidates {
    std::string commandLine;  // --workspace DIR, empty when not given
    std::string environment;  // SCORVANE_HOME, empty when unset
    std::string programDir;   // the folder of the running program
    std::string userDataDir;  // the per-user data folder
};

// The first of: the command line's folder, the environment's folder, the program's own folder when it
// already holds such data and is writable, the per-user data folder (created when missing).
std::string ResolveWorkspaceFolder(const WorkspaceCandidates& candidates);

// True when the folder holds SchoolInfo.ini (in any case), 表格数据 or 表格模版.
bool HoldsWorkspaceData(const std::string& folder);

// Sets the folder that ProgramFolder() returns (for the whole process).
void SetProgramFolder(const std::string& folder);

// The workspace folder, always ending in the path separator.
std::string ProgramFolder();
// ProgramFolder() + "表格数据/", the data folder.
std::string DataFolder();
// ProgramFolder() + "表格模版/", the template folder.
std::string TemplateFolder();
// The scratch file of the print preview, without extension: the data folder's "tmp".
std::string ScratchPath();

}  // namespace scorvane
