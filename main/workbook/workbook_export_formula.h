#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "main/document/grade_table.h"

namespace scorvane {

// Formula cells of a grade table as spreadsheet formulas (A1 notation, as Office Open XML stores them,
// without the leading "="). The sheet holds the table with the title on sheet row 1 and grid row r on
// sheet row r + 2, grid column c in sheet column c + 1 (A is the row numbers).
//
// Arithmetic, parentheses, implicit multiplication, the leading minus (which negates everything up to
// its closing parenthesis), "^", the constants pi and e, every function of the evaluator (angles in
// degrees, with the same value of pi) and references to cells written as numbers or empty translate;
// the result is rounded as the table's data format shows it. A formula translates only when the
// spreadsheet computes what the table shows: it is read as a tree, written back as fully bracketed
// evaluator text with each reference's value in brackets, and that text must give the cell's value.
// So "ans", a reference to a text cell, a negative number or text spliced into the formula (its
// references are replaced as text), a failing formula and "cell(?,?)" do not translate.

// The sheet address of grid cell (row, col): "C7".
std::string SheetAddress(int row, int col);

// True when a cell's text is written into the sheet as a number: blanks around it allowed, an
// optional "-", digits without a leading zero (a student number "007" stays text), an optional "."
// and digits, at most 15 significant digits. `value` receives the number.
bool ReadSheetNumber(std::string_view text, double& value);

// A formula cell (row, col) of `table` for the sheet: what the table shows for it (公式2值, computed
// last, so the evaluator's previous result is what the table's own evaluation left) and, when it
// translates, its spreadsheet formula.
struct SheetFormula {
    std::string shown;
    std::optional<std::string> formula;
};
SheetFormula TranslateFormula(const GradeTable& table, int row, int col);

}  // namespace scorvane
