#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/document/grade_table.h"

namespace scorvane {

// Saving chosen rows and chosen fields of a table as a new data file.

inline constexpr std::string_view kPartialExportCaption = "导出表格指定数据";
inline constexpr std::string_view kPartialExportExplanation =
    "选择需要导出的项目，按“确定”，所选择的项目将被保存为一张新的表格。";
inline constexpr std::string_view kOpenExportedQuestion = "文件保存完毕，是否现在打开？";

// The new table: title + " 导出表"; the teacher, class information and data format copied; row 0 the
// corner and the titles of the chosen fields; then, for each chosen row, its row-number cell and its
// cells of the chosen fields. Rows (1 .. Rows-1) and fields (1 .. Cols-1) are taken in table order
// whatever order they are given in; repeated or out-of-range numbers are ignored. Cells are copied as
// stored, so a formula keeps its formula text.
GradeTable ExtractTable(const GradeTable& table, const std::vector<int>& rows,
                        const std::vector<int>& fields);

enum class PartialExportOutcome {
    Saved,      // written; the open question was answered No: the dialog stays open
    Open,       // written; answered Yes: the window opens `path` (without ".skv") and the dialog closes
    Cancelled,  // the save dialog was cancelled; nothing written
    Failed,     // "文件保存失败！" was shown
};

struct PartialExportResult {
    PartialExportOutcome outcome = PartialExportOutcome::Cancelled;
    std::string path;  // the file written, without ".skv"
};

// "确定(&O)": asks for the file ("*.skv"; ".skv" is added to a name that lacks it, so the file can be
// opened as a table), writes it atomically while the status panel shows "正在保存文件...", then asks
// "文件保存完毕，是否现在打开？".
PartialExportResult ExportPartialTable(const GradeTable& table, const std::vector<int>& rows,
                                       const std::vector<int>& fields, Prompter& prompter,
                                       StatusSink& status);

}  // namespace scorvane
