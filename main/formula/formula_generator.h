#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/prompter.h"
#include "main/document/grade_table.h"
#include "main/formula/formula_cell.h"

namespace scorvane {

// The operations of the formula editor, in the order of its list.
enum class FormulaOperation { Sum = 0, Difference, Product, Average, Variance, StandardDeviation };

inline constexpr std::array<std::string_view, 6> kFormulaOperationNames = {"求和",   "求差",   "求乘积",
                                                                           "求平均", "求方差", "求标准差"};

inline constexpr std::string_view kFormulaEditorInstruction =
    "      请在下面的表格中，选择要引用的单元格：（只可选择连续的单元格；系统会自动使用方便套用的统配符格式；"
    "公式中不可以引用已经包含公式的单元格！）";
inline constexpr std::string_view kReferencesFormulaMessage = "公式中不可以引用已经包含公式的单元格！";

// The formula (without marker) for the block selected from `from` to `to` (either may be the larger
// corner; the cells are listed from `from`, row by row, each row column by column), as seen from the
// target cell: a row equal to the target's row is written "?", so is a column equal to its column.
//   求和 a+b+c   求差 a-b-c   求乘积 a*b*c   求平均 (a+b+c)/n
//   求方差 (1/n)*(a^2+b^2+c^2-n*((a+b+c)/n)^2)   求标准差 sr(the variance)
std::string GenerateFormula(FormulaOperation operation, CellAddress from, CellAddress to, CellAddress target);

// The editor's evaluation of a formula without marker against its copy of the table, as seen from the
// target cell: 公式2值's steps without the self-reference test, in the copy's data format.
std::string 公式2值b(const GradeTable& copy, std::string_view formula, CellAddress target);

// True when a cell the formula refers to, as seen from the target, holds a formula itself.
bool ReferencesFormulaCell(const GradeTable& copy, std::string_view formula, CellAddress target);

// The check whenever the formula text changes: when a cell it refers to holds a formula, the message
// "公式中不可以引用已经包含公式的单元格！" is shown and "确定" is disabled (no value); otherwise the
// value is 公式2值b and "确定" is enabled.
struct FormulaCheck {
    bool acceptEnabled = false;
    std::optional<std::string> value;  // the text for the value box, when it changes
    bool operator==(const FormulaCheck&) const = default;
};
FormulaCheck CheckGeneratedFormula(const GradeTable& copy, std::string_view formula, CellAddress target,
                                   Prompter& prompter);

// The target cell as the editor shows it: "行:" row "列:" column.
std::string TargetCellText(CellAddress target);

// What "确定" puts into the document's formula bar.
std::string AcceptedFormulaText(std::string_view formula);

}  // namespace scorvane
