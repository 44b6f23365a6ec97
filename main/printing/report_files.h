#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/prompter.h"
#include "main/document/cell_value.h"
#include "main/printing/report_pages.h"

namespace scorvane {

// Report cards one file a student ("每个学生一个PDF文件"), so that each family gets its own child's card
// alone: the file names made from a pattern of fields, the question before files are replaced, and the
// writing, each file whole or not at all.

inline constexpr std::string_view kReportFileExtension = ".pdf";

// The pattern offered: "{学号}_{姓名}.pdf"; "{姓名}.pdf" without a field 学号; "{学号}.pdf" without 姓名;
// else the first field's.
std::string DefaultReportFilePattern(const GradeTable& table);

// A file name made safe: the characters a file name cannot hold on this system or on a Windows share
// (/ \ : * ? " < > | and control characters) become "_", blanks and dots at either end are dropped, and a
// long name is cut to 200 bytes (whole characters). May be empty.
std::string SafeReportFileName(std::string_view name);

// One file to write: the data row whose page(s) it holds and its name in the folder.
struct ReportFile {
    int row = 0;
    std::string name;
};

// The files of the rows in `rows` that hold a student (RowHoldsData): each pattern "{FIELD}" replaced by
// the row's value of that field (`value`, the cell as the table shows it), the name made safe
// (SafeReportFileName; "第 N 行" when nothing is left) and ending in ".pdf" (added when the pattern lacks it).
// Two students whose names are equal (letter case aside) get "(2)", "(3)", … before the extension.
// Returns the fault of a pattern that names a field the table lacks, leaves a "{" open, or names no field
// at all; nothing is made then.
std::optional<std::string> ReportFileNames(const GradeTable& table, const CellValueFn& value, ReportRowRange rows,
                                           std::string_view pattern, std::vector<ReportFile>& out);

// The files' names that stand in `folder` already.
std::vector<std::string> ExistingReportFiles(const std::string& folder, const std::vector<ReportFile>& files);

// The one question before anything is written, naming the files that would be replaced (the first ten,
// then how many): "覆盖全部(&O)" or "取消" (the default, also Escape). True to replace them all.
std::string ReplaceReportFilesQuestion(const std::string& folder, const std::vector<std::string>& existing);
bool MayReplaceReportFiles(const std::string& folder, const std::vector<std::string>& existing,
                           Prompter& prompter);

// What became of the writing.
struct ReportFilesOutcome {
    int written = 0;
    std::vector<std::string> appeared;  // made by another program since the question: left as they are
    std::string failed;                 // the file that could not be written (the writing stopped there)
    bool cancelled = false;
};

// Writes each file into `folder` with `writeOne(path, row)`, which writes the whole file or none (true
// when it was written). Before each file `progress(n, count)` (from 1) may stop the writing (false). A
// file that stands in the folder now but is not in `mayReplace` appeared since the question: it is left
// alone and named.
ReportFilesOutcome WriteReportFiles(const std::string& folder, const std::vector<ReportFile>& files,
                                    const std::vector<std::string>& mayReplace,
                                    const std::function<bool(const std::string& path, int row)>& writeOne,
                                    const std::function<bool(int n, int count)>& progress = {});

// "已生成 45 个PDF文件" and what was left alone or failed, for the status bar and the command line.
std::string ReportFilesSummary(const ReportFilesOutcome& outcome);
// "正在生成第 3 个PDF文件，共 45 个..."
std::string ReportFilesProgressText(int n, int count);

}  // namespace scorvane
