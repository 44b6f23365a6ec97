#pragma once

#include <string>
#include <string_view>

#include "main/document/document.h"

namespace scorvane {

inline constexpr std::string_view kNotFormulaCellText = "非公式单元格";

// What the formula bar shows beside its text box: the "公式" box ticked and "=" + the current cell's
// value (of the formula as stored in the cell, not of the text being typed) when the bar's text
// begins with the formula marker; otherwise the box unticked and "非公式单元格", greyed.
struct FormulaBarView {
    bool formulaTicked = false;
    bool valueEnabled = false;
    std::string valueText;
};
FormulaBarView DescribeFormulaBar(const GradeTable& table, int row, int col, std::string_view barText);

// The bar's text after the "公式" box changed state: ticked puts the marker in front of a text that
// lacks it, unticked takes it off a text that has it.
std::string ApplyFormulaTick(std::string_view barText, bool ticked);

// Enter in the formula bar (and a change of the "公式" box): the undo snapshot, then the text into the
// current cell; the document is marked changed.
void CommitFormulaBar(Document& document, int row, int col, std::string text);

}  // namespace scorvane
