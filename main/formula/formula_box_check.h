#pragma once

#include <string_view>

#include "common/prompter.h"
#include "main/formula/formula_generator.h"

namespace scorvane {

// The formula editor's check of its formula box, run whenever the box's text changes. It remembers
// whether the last text was refused, so that typing in a refused formula does not bring the message
// back at every keystroke:
// - a text referring to a formula cell is refused: "确定" disabled, the value box emptied; the message
//   "公式中不可以引用已经包含公式的单元格！" is shown when the text was generated from a selection or
//   an operation, or when a typed text newly refers to a formula cell;
// - an empty text (spaces only) is nothing to accept: "确定" disabled, the value box emptied;
// - otherwise the value box shows 公式2值b and "确定" is enabled, even when the value is "公式错误".
class FormulaBoxCheck {
  public:
    FormulaCheck check(const GradeTable& copy, std::string_view formula, CellAddress target, bool generated,
                       Prompter& prompter);

  private:
    bool refused_ = false;
};

}  // namespace scorvane
