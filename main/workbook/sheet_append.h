#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/prompter.h"
#include "main/document/document.h"

namespace scorvane {

// A workbook's sheet appended to an open table: the sheet's columns go to the table's fields of the
// same title, since an office's workbook is seldom laid out like the teacher's table.

inline constexpr std::string_view kNoCommonFieldMessage = "电子表格中没有与表格相同的字段，无法导入！";

struct SheetColumnMatch {
    // For each column of the sheet's table (index 0 unused): the table's column that takes it, or 0
    // when it is not imported.
    std::vector<int> target;
    // What the preview says, in the sheet's column order and then the table's fields the sheet lacks:
    // "语文 → 语文", "备注：表格中没有此字段，不导入", "学号：电子表格中没有此字段，留空", and for a field
    // with a column formula (ColumnFormulas) "总分：电子表格中没有此字段，沿用该列的公式".
    std::vector<std::string> lines;
    int matched = 0;  // the sheet columns that are imported
};

// Matches the sheet's columns to the table's fields by title, blanks around either ignored: the first
// field of that title takes the first sheet column of it. A title of blanks and "序号" never match (the
// table numbers its rows itself); a sheet column whose field already took an earlier column is left
// out.
SheetColumnMatch MatchSheetColumns(const GradeTable& table, const GradeTable& sheet);

// The row the sheet's first student goes to: after the table's last row that holds anything, so that
// empty rows at the end (a new table's) are filled and nothing already in the table changes.
int FirstAppendRow(const GradeTable& table);

// Appends the sheet's students to the table, each column to its matched field, the table's other
// fields left empty, except that a field with a column formula (ColumnFormulas) gets it in each new
// student's row where the sheet leaves it blank; column 0 is renumbered. Takes the undo snapshot
// first. Nothing happens, and the message says why, when no column matches (kNoCommonFieldMessage) or when
// the table would pass GradeTable::kMaxCount rows ("导入后的表格超过 32767 行，无法导入！"). True when the
// rows were appended.
bool AppendSheetTable(Document& document, const GradeTable& sheet, Prompter& prompter);

}  // namespace scorvane
