#include "main/formula/formula_cell.h"

#include <charconv>

#include "main/formula/evaluator.h"
#include "main/formula/number_format.h"

namespace scorvane {
namespace {

constexpr std::string_view kSelfReference = "cell(?,?)";

bool containsSelfReference(std::string_view formula) {
    // Case-insensitive search for "cell(?,?)".
    for (size_t at = formula.find("(?,?)"); at != std::string_view::npos;
         at = formula.find("(?,?)", at + 1)) {
        if (at >= 4) {
            std::string_view word = formula.substr(at - 4, 4);
            bool isCell = true;
            for (size_t i = 0; i < 4; ++i) {
                if ((word[i] | 0x20) != kSelfReference[i]) {
                    isCell = false;
                }
            }
            if (isCell) {
                return true;
            }
        }
    }
    return false;
}

// "cell" in any letter case at `at`.
bool isCellWord(std::string_view text, size_t at) {
    return at + 4 <= text.size() && (text[at] | 0x20) == 'c' && (text[at + 1] | 0x20) == 'e' &&
           (text[at + 2] | 0x20) == 'l' && (text[at + 3] | 0x20) == 'l';
}

// A row or column number: digits with spaces around them, nothing else, below `limit`.
bool readIndex(std::string_view text, int limit, int& value) {
    size_t b = 0;
    size_t e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    if (b == e || e - b > 9) {
        return false;
    }
    int v = 0;
    for (size_t i = b; i < e; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        v = v * 10 + (text[i] - '0');
    }
    if (v >= limit) {
        return false;
    }
    value = v;
    return true;
}

// Reads the reference whose "cell" starts at `at`: "(" right after the word, the row up to the next
// ",", the column up to the following ")". "?" alone in a place (written exactly "(?," and ",?)")
// stands for the formula cell's own row or column. `next` receives the position after the ")".
bool readReference(const GradeTable& table, std::string_view text, size_t at, int row, int col,
                   CellAddress& ref, size_t& next) {
    size_t open = at + 4;
    if (open >= text.size() || text[open] != '(') {
        return false;
    }
    size_t comma = text.find(',', open + 1);
    if (comma == std::string_view::npos) {
        return false;
    }
    size_t close = text.find(')', comma + 1);
    if (close == std::string_view::npos) {
        return false;
    }
    std::string_view rowText = text.substr(open + 1, comma - open - 1);
    std::string_view colText = text.substr(comma + 1, close - comma - 1);
    if (rowText == "?") {
        ref.row = row;
    } else if (!readIndex(rowText, table.rows(), ref.row)) {
        return false;
    }
    if (colText == "?") {
        ref.col = col;
    } else if (!readIndex(colText, table.cols(), ref.col)) {
        return false;
    }
    next = close + 1;
    return true;
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// The formula as evaluator text: every reference replaced by the referenced cell's text ("0" for a
// blank one), left to right; inserted text is never looked at again. False when a reference cannot
// be read or lies outside the table.
//
// The formula is taken as it stands: names are matched in any letter case by the evaluator, and a
// "(?," or ",?)" outside a reference leaves its "," in the text, which no evaluation accepts; so the
// outcome equals lower-casing the formula and replacing those wildcards first.
bool expandReferences(const GradeTable& table, std::string_view formula, int row, int col, std::string& out) {
    out.clear();
    size_t pos = 0;
    size_t copied = 0;
    while (pos + 4 <= formula.size()) {
        if (!isCellWord(formula, pos)) {
            ++pos;
            continue;
        }
        out.append(formula.substr(copied, pos - copied));
        CellAddress ref;
        if (!readReference(table, formula, pos, row, col, ref, pos)) {
            return false;
        }
        copied = pos;
        const std::string& referenced = table.cell(ref.row, ref.col);
        if (isBlank(referenced)) {
            out.push_back('0');
        } else {
            out.append(referenced);
        }
    }
    out.append(formula.substr(copied));
    return true;
}

}  // namespace

bool IsFormula(std::string_view text) {
    return text.substr(0, kFormulaMarker.size()) == kFormulaMarker;
}

std::string FormulaValue(const GradeTable& table, std::string_view formula, int row, int col) {
    // Working buffers reused from call to call: a table's worth of formulas allocates nothing.
    thread_local std::string expression;
    thread_local std::string result;
    if (!expandReferences(table, formula, row, col, expression) ||
        !EvaluateExpressionInto(expression, result)) {
        return std::string(kFormulaError);
    }
    return FormatForDisplay(result, table.dataFormat);
}

std::string 公式2值(const GradeTable& table, int row, int col) {
    if (!table.contains(row, col)) {
        return {};
    }
    const std::string& text = table.cell(row, col);
    if (!IsFormula(text)) {
        return text;
    }
    std::string_view formula = std::string_view(text).substr(kFormulaMarker.size());
    if (containsSelfReference(formula)) {
        return std::string(kReferenceError);
    }
    return FormulaValue(table, formula, row, col);
}

bool ReadFormulaReference(const GradeTable& table, std::string_view formula, size_t at, int row, int col,
                          CellAddress& ref, size_t& next) {
    return isCellWord(formula, at) && readReference(table, formula, at, row, col, ref, next);
}

bool ContainsSelfReference(std::string_view formula) {
    return containsSelfReference(formula);
}

std::vector<CellAddress> FormulaReferences(const GradeTable& table, std::string_view formula, int row,
                                           int col) {
    std::vector<CellAddress> found;
    size_t pos = 0;
    while (pos + 4 <= formula.size()) {
        if (!isCellWord(formula, pos)) {
            ++pos;
            continue;
        }
        CellAddress ref;
        if (!readReference(table, formula, pos, row, col, ref, pos)) {
            break;
        }
        found.push_back(ref);
    }
    return found;
}

}  // namespace scorvane
