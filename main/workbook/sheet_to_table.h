#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "main/document/grade_table.h"
#include "main/workbook/sheet_grid.h"

namespace scorvane {

inline constexpr std::string_view kSheetRowsMessage = "电子表格中的学生超过 32766 行，无法导入！";
inline constexpr std::string_view kSheetFieldsMessage = "电子表格中的字段超过 32766 个，无法导入！";
inline constexpr std::string_view kSheetRowNumberTitle = "序号";
inline constexpr std::string_view kSheetFieldPrefix = "字段";  // "字段N" for an untitled column N

// How a sheet was taken as a grade table.
struct SheetTable {
    GradeTable table;
    int headerRow = -1;  // the sheet's header row, from 0 (-1: the sheet holds nothing)
    int titleRow = -1;   // the row that gave the title, or -1 (the sheet's name)
    bool rowNumbers = false;  // the first column held the row numbers and was left out
    std::vector<int> studentRows;  // the sheet's row (from 0) of each student, in the table's order
    std::string message;      // why the sheet cannot be a table; empty when it can
};

// The one rule by which every kind of workbook becomes a grade table:
// - the header row is the first row with at least two non-empty cells, or `headerRow` (from 0) when
//   it is given (>= 0); a sheet without such a row takes its first non-empty row;
// - above it, the first row holding exactly one non-empty cell gives the title, else the sheet's name;
// - the header's cells are the field titles, from the first column any row below uses to the last;
//   an empty title is "字段N", N the sheet's column from 1;
// - a first column titled "序号" or nothing whose values are 1, 2, 3 ... is the row numbering and is
//   left out; every later row with a non-empty cell is a student, wholly empty rows are skipped;
// - more than 32,766 students or fields give a message and no table.
// Cells count as empty when they hold nothing but blanks.
SheetTable SheetToGradeTable(const SheetGrid& grid, int headerRow = -1);
// The same, dropping the cells of `grid` once the table holds them, so that a large sheet is not held
// twice over for long; `grid` keeps its sheet names.
SheetTable SheetToGradeTable(SheetGrid&& grid, int headerRow = -1);

}  // namespace scorvane
