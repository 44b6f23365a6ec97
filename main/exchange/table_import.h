#pragma once

#include <string_view>

#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/document/document.h"

namespace scorvane {

// Importing another grade table's data file whole: its data rows are appended below the table's rows,
// to gather the tables of all classes of a grade into one.

inline constexpr std::string_view kImportAllWarning =
    "使用该功能是为了方便诸如年级里对所有班级成绩的汇总，需要注意的是，请一定保证要导入的表格与原表格的格式"
    "（项目）相同！否则最终的表格可能会发生数据紊乱的情况！";
inline constexpr std::string_view kImportTableTitle = "导入表格文件";
inline constexpr std::string_view kImportTooLargeMessage = "导入后的表格超过 32767 行，无法导入！";

enum class ImportOutcome {
    Imported,
    Cancelled,  // a file dialog was cancelled
    NoFile,     // empty name or missing file: nothing happens, without a word
    Refused,    // not a sound data file: "文件格式不正确!" was shown; the table is unchanged
    TooLarge,   // the result would exceed the largest table: said so; the table is unchanged
};

// Appends `source` to the table. With R_T and C_T the table's counts and R_S the source's row count,
// the table gets R_T + R_S - 1 rows; the source's cells are taken in file order, C_T per row whatever
// the source's column count (so tables with other fields shift, as the warning says), and laid on rows
// R_T - 1 onwards: the source's title row falls on the table's former last row and its data rows on
// the new rows. A cell is written only when its value differs from the table's title of that column,
// so the repeated titles leave the former last row as it was; and nothing is written into that row
// when a field of it holds anything (a student's row keeps its marks, whatever the source's titles
// say; a table without students takes the source's differing titles). Where the source runs out of cells the
// new cells stay empty. A field with a column formula (ColumnFormulas, as the table was) gets it in
// each new student's row the source left blank there. Column 0 is renumbered 1, 2, ... Sets the
// modified flag when anything changed. False (and nothing changed) when the result would exceed GradeTable::kMaxCount rows.
bool AppendTable(Document& document, const GradeTable& source);

// The whole-table import proper; `file` is the data file's path without ".skv" (found as LoadData
// finds it, also when its extension stands in another letter case). The status panel shows
// "文件导入中..." meanwhile. The file is checked whole before the table changes. Takes no snapshot (the
// menu command takes it).
ImportOutcome ImpData(Document& document, std::string_view file, Prompter& prompter, StatusSink& status);

// The menu command: the warning, the open dialog ("*.skv", "导入表格文件"), the undo snapshot, ImpData.
ImportOutcome menuImportAll(Document& document, Prompter& prompter, StatusSink& status);

}  // namespace scorvane
