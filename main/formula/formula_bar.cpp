#include "main/formula/formula_bar.h"

#include "main/formula/formula_cell.h"

namespace scorvane {

FormulaBarView DescribeFormulaBar(const GradeTable& table, int row, int col, std::string_view barText) {
    FormulaBarView view;
    if (IsFormula(barText)) {
        view.formulaTicked = true;
        view.valueEnabled = true;
        view.valueText = "=" + 公式2值(table, row, col);
    } else {
        view.valueText = std::string(kNotFormulaCellText);
    }
    return view;
}

std::string ApplyFormulaTick(std::string_view barText, bool ticked) {
    if (ticked && !IsFormula(barText)) {
        return std::string(kFormulaMarker) + std::string(barText);
    }
    if (!ticked && IsFormula(barText)) {
        return std::string(barText.substr(kFormulaMarker.size()));
    }
    return std::string(barText);
}

void CommitFormulaBar(Document& document, int row, int col, std::string text) {
    if (!document.table.contains(row, col)) {
        return;
    }
    document.takeSnapshot();
    document.table.setCell(row, col, std::move(text));
    document.setModified();
}

}  // namespace scorvane
