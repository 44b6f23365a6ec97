#pragma once

#include <string>

#include "cli/cli_command.h"

namespace scorvane::cli {

// The commands that draw pages and pictures (print, report, chart) need the GUI libraries, which take
// longer to start and more memory than most commands take to run. They run in the drawing program,
// scorvane-cli-draw, which holds every command: scorvane-cli lists them and checks their arguments like
// any other, then starts the drawing program in its own place, so that every other command starts
// without those libraries.

inline constexpr const char* kDrawingProgramName = "scorvane-cli-draw";

inline constexpr const char* kPrintUsage =
    "print TABLE.skv -o OUT.pdf [--title T] [--footer T] [--no-teacher] [--class-info] [--no-fit] "
    "[--no-rules] "
    "[--page N | --row R]";
inline constexpr const char* kReportUsage =
    "report TABLE.skv TEMPLATE.rvx -o OUT.pdf | --split FOLDER [--name PATTERN] [--force] "
    "[--bind LABEL=FIELD ...] [--row R | --rows A-B]";
inline constexpr const char* kChartUsage =
    "chart TABLE.skv -o OUT.pdf|OUT.png|OUT.bmp --type bar|line-up|line-down --fields F,F... --rows R,R... "
    "[--label-field F] [--max 100] [--min 0] [--segments 5] [--title T]";

using CommandRun = int (*)(const CliArgs& args);

// A drawing command's file gives its run function here (in the drawing program only).
struct DrawingRun {
    DrawingRun(const std::string& name, CommandRun run);
};

// The run function of a drawing command in this program, or null where the drawing program runs it.
CommandRun DrawingRunOf(const std::string& name);

// Replaces this process by the drawing program, given the same arguments. Returns only when it cannot
// be started: then it says so on stderr and returns 1.
int RunInDrawingProgram(char** argv);

}  // namespace scorvane::cli
