#pragma once

#include <string>
#include <string_view>

#include "common/prompter.h"
#include "main/document/document.h"

namespace scorvane {

// What check-all puts in front of a formula that cannot be evaluated; the cell then holds plain text
// until the user removes it.
inline constexpr std::string_view kFormulaErrorPrefix = "(公式错误)";

inline constexpr std::string_view kComputeAllQuestion =
    "    本操作将导致原来的公式将无法再响应数据源\n"
    "的数值变化，请确认您的操作已经达到打印前的最\n"
    "后一步。（可以不需执行本操作，打印时就会直接\n"
    "显示结果）；确定要继续吗？";

// Check all formulas: takes the undo snapshot, then visits every cell row by row from row 0, each row
// from column 0, and puts "(公式错误)" in front of every cell whose value is exactly "公式错误"
// ("引用错误" is left alone). No message. Returns the number of cells marked.
int CheckAllFormulas(Document& document);

enum class Confirmation { Ask, Skip };

// Compute all formulas: asks first (OK/Cancel, unless told to skip the question, as the command line
// does); on OK takes the undo snapshot and replaces every cell by its value (ReplaceFormulasByValues).
// Returns false when the user cancelled.
bool ComputeAllFormulas(Document& document, Prompter& prompter,
                        Confirmation confirmation = Confirmation::Ask);

// Replaces every cell by its display value, one cell at a time in the order of check-all, so a formula
// that refers to a formula cell visited earlier reads that cell's value. No question, no snapshot:
// print preview does this to a copy. Returns the number of cells changed.
int ReplaceFormulasByValues(GradeTable& table);

// The context menu offers "set as the column's formula" exactly when the cell holds a formula.
bool CanApplyFormulaToColumn(const GradeTable& table, int row, int col);

// "本操作将会覆盖第 c 列(title)的所有数据，是否继续？" (Yes/No); on Yes takes the undo snapshot and
// copies the cell's text unchanged into its column in every row from 1 to the last. Does nothing
// (and asks nothing) unless CanApplyFormulaToColumn. Returns true when it copied.
bool ApplyFormulaToColumn(Document& document, int row, int col, Prompter& prompter);

std::string ApplyFormulaToColumnQuestion(const GradeTable& table, int col);

}  // namespace scorvane
