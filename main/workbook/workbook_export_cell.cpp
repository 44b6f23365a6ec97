#include "main/workbook/workbook_export_cell.h"

#include <charconv>

#include "common/utf8.h"

#include "main/formula/formula_cell.h"
#include "main/formula/number_format.h"
#include "main/workbook/workbook_export_formula.h"

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

// The format that shows a number with the decimals it is written with: "0.00" for "97.00", "0%" for
// "63%"; empty for a whole number.
std::string decimalsFormat(std::string_view number, bool percent) {
    const size_t end = number.find_last_not_of(' ');
    const size_t point = number.find('.');
    const size_t decimals =
        point == std::string_view::npos || end == std::string_view::npos ? 0 : end - point;
    if (decimals == 0 && !percent) {
        return {};
    }
    return (decimals == 0 ? std::string("0") : "0." + std::string(decimals, '0')) + (percent ? "%" : "");
}

SheetCell valueCell(std::string_view value, bool shown) {
    SheetCell out;
    if (value.empty()) {
        return out;
    }
    if (shown ? shownNumber(std::string(value), out.number) : ReadSheetNumber(value, out.number)) {
        out.kind = SheetCell::Kind::Number;
        out.numberFormat = decimalsFormat(value, false);
        return out;
    }
    const size_t last = value.find_last_not_of(' ');
    if (last != std::string_view::npos && last > 0 && value[last] == '%') {
        const std::string_view rate = value.substr(0, last);
        if (shown ? shownNumber(std::string(rate), out.number) : ReadSheetNumber(rate, out.number)) {
            // The fraction read from the text itself ("63.16e-2"), so that it is the double nearest
            // 0.6316 rather than 63.16 / 100.
            const std::string fraction = std::string(TrimSpaces(rate)) + "e-2";
            std::from_chars(fraction.data(), fraction.data() + fraction.size(), out.number);
            out.kind = SheetCell::Kind::Number;
            out.numberFormat = decimalsFormat(rate, true);
            return out;
        }
    }
    out.kind = SheetCell::Kind::Text;
    out.text = value;
    return out;
}

}  // namespace

SheetCell SheetCellOf(const GradeTable& table, int row, int col) {
    const CellText text = table.cell(row, col);
    if (row == 0 && col == 0) {
        return {SheetCell::Kind::Text, 0, std::string(kSheetRowNumberColumnTitle), {}};
    }
    if (row == 0 && !text.empty()) {
        return {SheetCell::Kind::Text, 0, std::string(text), {}};
    }
    if (!IsFormula(text)) {
        return valueCell(text, false);
    }
    SheetFormula formula = TranslateFormula(table, row, col);
    if (!formula.formula) {
        return valueCell(formula.shown, true);
    }
    // The table shows 0 as nothing ("###.##").
    SheetCell out{SheetCell::Kind::Formula, 0, std::move(*formula.formula), {}};
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
