#pragma once

#include <string>
#include <vector>

namespace scorvane {

// The command line of the scorvane program: scorvane [--workspace DIR] [FILE.skv ...]
struct StartArguments {
    std::string workspace;             // --workspace DIR or --workspace=DIR; empty when not given
    std::vector<std::string> files;    // the tables to open, as given
    std::vector<std::string> unknown;  // options the program does not know (reported, then ignored)
    bool help = false;                 // --help or -h
};

// Reads the arguments after the program's name. "--" ends the options: every argument after it is
// a file, also one that begins with "-".
StartArguments ParseStartArguments(const std::vector<std::string>& arguments);

// The usage text of `scorvane --help`.
std::string StartUsage();

// What the frame does with a file named on the command line.
struct StartFile {
    enum class Kind {
        Table,    // a data file: open `path` (without ".skv") in a table window
        Missing,  // nothing (or a folder) by that name: "找不到文件：" and the name
        Foreign,  // a file not named ".skv": "文件格式不正确!", as for a file that is no table
    };
    Kind kind = Kind::Missing;
    std::string path;
};

// Classifies a named file; a relative name is taken from `currentFolder`. The table may be named with
// or without ".skv" (in any letter case), as the command-line tool takes it.
StartFile ClassifyStartFile(const std::string& given, const std::string& currentFolder);

// The name of the channel through which a second start of the program hands its files to the frame
// already running for the same user and workspace folder.
std::string InstanceChannelName(const std::string& workspaceFolder, unsigned userId);

}  // namespace scorvane
