#pragma once

#include <string>
#include <vector>

#include "main/document/grade_table.h"

namespace scorvane {

// A column formula: a field whose every filled row (a data row holding anything in any field) holds
// the same formula, such as 总分 = "！公式：cell(?,3)+cell(?,4)" down the whole class; a row may hold a
// note in its place (缺考: any text that is not a number), since that student has nothing to compute,
// as long as the formula stands in more rows than the notes do.
// Students added to the table later (a sheet's students appended, another table imported whole) get
// it too, so their totals and averages are computed like everyone else's.

// Per column (index 0, the row numbers, unused): the field's column formula, or "" when it has none
// (two different formulas, a filled row whose cell is blank or a number, or no more formulas than notes).
std::vector<std::string> ColumnFormulas(const GradeTable& table);

// Writes each column formula into rows first .. last (clamped to the data rows) where the field is
// blank, but only in rows that hold a student: something in a field without a column formula. A value
// the row already holds there stays. Returns the number of cells written.
int FillColumnFormulas(GradeTable& table, const std::vector<std::string>& formulas, int first, int last);

}  // namespace scorvane
