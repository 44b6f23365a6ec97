#include "main/workbook/workbook_export_cell.h"

#include "main/workbook/workbook_export_formula.h"
#include "main/formula/formula_cell.h"
#include "main/formula/number_format.h"

namespace scorvane {
namespace {

// A formula's value as the table shows it, as a number: "85.46", ".5" (no whole digits in "###.##").
bool shownNumber(std::string shown, double& value) {
    if (shown.rfind(".", 0) == 0) {
        shown.insert(0, "0");
    } else if (shown.rfind("-.", 0) == 0) {
        shown.insert(1, "0");
    }
    return ReadSheetNumber(shown, value);
}

SheetCell valueCell(std::string_view value, bool shown) {
    SheetCell out;
    if (value.empty()) {
        return out;
    }
    if (shown ? shownNumber(std::string(value), out.number) : ReadSheetNumber(value, out.number)) {
        out.kind = SheetCell::Kind::Number;
    } else {
        out.kind = SheetCell::Kind::Text;
        out.text = value;
    }
    return out;
}

}  // namespace

SheetCell SheetCellOf(const GradeTable& table, int row, int col) {
    const CellText text = table.cell(row, col);
    if (row == 0 && !text.empty()) {
        return {SheetCell::Kind::Text, 0, std::string(text)};
    }
    if (!IsFormula(text)) {
        return valueCell(text, false);
    }
    SheetFormula formula = TranslateFormula(table, row, col);
    if (!formula.formula) {
        return valueCell(formula.shown, true);
    }
    // The table shows 0 as nothing ("###.##").
    SheetCell out{SheetCell::Kind::Formula, 0, std::move(*formula.formula)};
    if (!formula.shown.empty() && !shownNumber(formula.shown, out.number)) {
        return valueCell(formula.shown, true);
    }
    return out;
}

std::string SheetFormulaFormat(const std::string& dataFormat) {
    const NumberPattern p = ReadNumberPattern(dataFormat);
    if (!p.applies || p.fixedDecimals == 0 || p.fixedDecimals != p.decimals) {
        return {};
    }
    return "0." + std::string(static_cast<size_t>(p.decimals), '0');
}

}  // namespace scorvane
