#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "main/document/grade_table.h"

namespace scorvane {

// A cell is a formula exactly when its text begins with this marker; the formula follows it.
inline constexpr std::string_view kFormulaMarker = "！公式：";
// The value of a formula that refers to its own cell with "cell(?,?)".
inline constexpr std::string_view kReferenceError = "引用错误";

bool IsFormula(std::string_view text);

// The display text of any cell: a plain cell's text unchanged; for a formula cell the value of its
// formula in the table's data format, "公式错误" when it cannot be evaluated, "引用错误" when it
// contains "cell(?,?)". Never changes the table; values are computed afresh on every call.
//
// A formula is evaluator text in which "cell(row,column)" (any letter case, grid numbering: row 0 the
// titles) stands for the referenced cell's raw text, "0" for an empty or blank one. "?" stands for
// the formula cell's own row or column. References are replaced as text, so "-5" in
// "cell(1,2)*cell(1,3)+1" negates "5+1", and a reference to another formula cell fails. A reference
// that cannot be read, or that points outside the table, fails ("公式错误").
// An address outside the table gives an empty text.
std::string 公式2值(const GradeTable& table, int row, int col);

// The value of a formula without its marker as seen from cell (row, col) of `table`: "?" becomes row
// or column, references are read from `table`; no self-reference test. (公式2值 is this after its
// marker and self-reference tests; the formula editor calls it on its copy of the table.)
std::string FormulaValue(const GradeTable& table, std::string_view formula, int row, int col);

// Every cell the formula refers to as seen from (row, col), in order, up to the first reference that
// cannot be read or lies outside the table.
struct CellAddress {
    int row = 0;
    int col = 0;
    bool operator==(const CellAddress&) const = default;
};

// The reference whose word "cell" (any letter case) starts at `at` in `formula`, as 公式2值 reads it
// from cell (row, col): "(" right after the word, the row up to the next ",", the column up to the
// following ")", "?" for the cell's own row or column. `next` receives the position after the ")".
// False when there is no "cell" at `at`, or the reference cannot be read or lies outside the table.
bool ReadFormulaReference(const GradeTable& table, std::string_view formula, size_t at, int row, int col,
                          CellAddress& ref, size_t& next);

// True when the formula contains "cell(?,?)" in any letter case (its value is "引用错误").
bool ContainsSelfReference(std::string_view formula);

std::vector<CellAddress> FormulaReferences(const GradeTable& table, std::string_view formula, int row,
                                           int col);

}  // namespace scorvane
