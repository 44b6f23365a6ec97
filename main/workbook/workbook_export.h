#pragma once

#include <string>

#include "main/document/grade_table.h"

namespace scorvane {

// The table as an Office Open XML workbook (.xlsx) for the school office: the title in row 1, the field
// titles bold in row 2 (frozen, with the row-number column), then one row per student. Values that are
// numbers are written as numbers, everything else as text; a formula cell as a spreadsheet formula with
// its computed value beside it (see SheetCellOf). The workbook is written into a scratch file first and
// its bytes then replace `path` through the atomic writer, so a failed or interrupted export leaves any
// former file whole. False when anything failed; the caller says "文件保存失败！".
bool ExportWorkbook(const GradeTable& table, const std::string& path);

// The sheet's name for a table title: no []:*?/\ (each becomes "_"), no apostrophe at either end, at most
// 31 characters; "成绩表" when nothing is left.
std::string WorkbookSheetName(const std::string& title);

}  // namespace scorvane
