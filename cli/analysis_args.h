#pragma once

#include <string>

#include "cli/cli_command.h"
#include "main/analysis/analysis_settings.h"
#include "main/document/grade_table.h"

namespace scorvane::cli {

// The options of the statistics commands: --fields F1,F2,... --full N | --full F=N,... (may be given
// more than once) --pass P --excellent P --low P --band W.
inline constexpr const char* kAnalysisOptionsUsage =
    "[--fields F1,F2,…] [--full N | --full F=N,…] [--pass P] [--excellent P] [--low P] [--band W]";

// The options as the texts the statistics read (ReadAnalysisTexts checks them).
AnalysisTexts AnalysisOptions(const CliArgs& args);

// Writes a result table to `path`: a ".csv" name (any letter case) as the table's comma-separated
// export, any other as a data file. False, with "文件保存失败！" on stderr, when it cannot be written.
bool SaveResultTable(const GradeTable& table, const std::string& path);

}  // namespace scorvane::cli
