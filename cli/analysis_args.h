#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "main/analysis/analysis_result.h"
#include "main/analysis/analysis_settings.h"
#include "main/analysis/field_across_tables.h"
#include "main/analysis/grade_tables.h"
#include "main/analysis/tier_lines.h"
#include "main/document/grade_table.h"

namespace scorvane::cli {

// The options of the statistics commands: --fields F1,F2,... --full N | --full F=N,... (may be given
// more than once) --pass P --excellent P --low P --band W.
inline constexpr const char* kAnalysisOptionsUsage =
    "[--fields F1,F2,…] [--full N | --full F=N,…] [--pass P] [--excellent P] [--low P] [--band W]";

// The options as the texts the statistics read (ReadAnalysisTexts checks them).
AnalysisTexts AnalysisOptions(const CliArgs& args);

// Fields named as the table's commands name them: a title, a column number, or a range of column
// numbers ("3-12"), each as the field titles it stands for; a name that is none of these is kept as
// given (the analysis then says the table lacks it).
std::vector<std::string> FieldsByTitleOrColumn(const GradeTable& table,
                                               const std::vector<std::string>& names);

// The items of an option's comma-separated values, of every time it is given ("--fields 语文, 数学"
// gives 语文 and 数学), blanks around each dropped, empty items left out, an item named twice once.
std::vector<std::string> OptionList(const CliArgs& args, const std::string& name);

// The grade folder GRADE_FOLDER names (ReadGradeFolder); nothing, with "找不到文件夹：PATH" on stderr,
// when there is no such folder.
std::optional<GradeFolder> GradeFolderArgument(const std::string& path);

// The tables `name` of the grade's classes (LoadClassTables), each that a program has open noted on
// stderr first.
std::vector<ClassTable> LoadGradeTables(const GradeFolder& grade, const std::string& name);

// Writes a result table to `path`: a ".csv" name (any letter case) as the table's comma-separated
// export, any other as a data file. False, with "文件保存失败！" on stderr, when it cannot be written.
bool SaveResultTable(const GradeTable& table, const std::string& path);

// Writes on stderr what MismatchedTotalsMessage says of `field` over the tables, if anything; the command goes
// on with the field it was given.
void NoteMismatchedTotals(const TableGroup& group, std::string_view field, std::string_view others);

// What an analysis gave: its refusal on stderr (exit status 1, nothing written), or its table written to
// `path` with its notice, if any, on stderr.
int WriteAnalysisResult(const AnalysisResult& result, const std::string& path);

// The tier lines of every --line ("一本=520", "本科=前300"); false, with UnreadableLineMessage on stderr,
// when one has no "=".
bool LineOptions(const CliArgs& args, std::vector<LineText>& out);

// Reads the classes' tables `name` (LoadClassTables), with the lock note (NoteOpenElsewhere) of each.
std::vector<ClassTable> LoadGradeTables(const std::vector<GradeClass>& classes, const std::string& name);

}  // namespace scorvane::cli
