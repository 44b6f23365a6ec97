#include "main/formula/formula_cell.h"

#include <charconv>

#include "main/formula/evaluator.h"
#include "main/formula/number_format.h"

namespace scorvane {
namespace {

constexpr std::string_view kSelfReference = "cell(?,?)";

void appendNumber(std::string& out, int n) {
    char buffer[16];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, n);
    (void)ec;
    out.append(buffer, end);
}

// The formula in lower case with "(?," and ",?)" replaced by the row and the column, in one pass.
// The comma of a replaced "(?," stays in the text so that "(?,?)" also finds its ",?)".
void resolveWildcards(std::string_view formula, int row, int col, std::string& out) {
    out.clear();
    out.reserve(formula.size() + 16);
    for (size_t i = 0; i < formula.size(); ++i) {
        char c = formula[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        }
        if (c == '(' && i + 2 < formula.size() && formula[i + 1] == '?' && formula[i + 2] == ',') {
            out.push_back('(');
            appendNumber(out, row);
            ++i;  // past "?"; the "," comes next
            continue;
        }
        if (c == ',' && i + 2 < formula.size() && formula[i + 1] == '?' && formula[i + 2] == ')') {
            out.push_back(',');
            appendNumber(out, col);
            out.push_back(')');
            i += 2;
            continue;
        }
        out.push_back(c);
    }
}

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

// A row or column number: digits with spaces around them, nothing else.
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

// "cell" at `at`, one character skipped (it must be "("), the row up to the next ",", the column up
// to the following ")".
bool readReference(const GradeTable& table, std::string_view text, size_t at, int& r, int& c, size_t& next) {
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
    if (!readIndex(text.substr(open + 1, comma - open - 1), table.rows(), r) ||
        !readIndex(text.substr(comma + 1, close - comma - 1), table.cols(), c)) {
        return false;
    }
    next = close + 1;
    return true;
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// Replaces every reference by the referenced cell's text, left to right; inserted text is never
// looked at again. False when a reference cannot be read.
bool expandReferences(const GradeTable& table, std::string_view resolved, std::string& out) {
    out.clear();
    out.reserve(resolved.size() + 64);
    size_t pos = 0;
    while (true) {
        size_t at = resolved.find("cell", pos);
        if (at == std::string_view::npos) {
            out.append(resolved.substr(pos));
            return true;
        }
        out.append(resolved.substr(pos, at - pos));
        int r = 0;
        int c = 0;
        if (!readReference(table, resolved, at, r, c, pos)) {
            return false;
        }
        const std::string& referenced = table.cell(r, c);
        if (isBlank(referenced)) {
            out.push_back('0');
        } else {
            out.append(referenced);
        }
    }
}

}  // namespace

bool IsFormula(std::string_view text) {
    return text.substr(0, kFormulaMarker.size()) == kFormulaMarker;
}

std::string FormulaValue(const GradeTable& table, std::string_view formula, int row, int col) {
    // Working buffers reused from call to call: a table's worth of formulas allocates nothing.
    thread_local std::string resolved;
    thread_local std::string expression;
    thread_local std::string result;
    resolveWildcards(formula, row, col, resolved);
    if (!expandReferences(table, resolved, expression) || !EvaluateExpressionInto(expression, result)) {
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

std::vector<CellAddress> FormulaReferences(const GradeTable& table, std::string_view formula, int row,
                                           int col) {
    std::vector<CellAddress> found;
    std::string resolved;
    resolveWildcards(formula, row, col, resolved);
    size_t pos = 0;
    while ((pos = resolved.find("cell", pos)) != std::string::npos) {
        CellAddress a;
        if (!readReference(table, resolved, pos, a.row, a.col, pos)) {
            break;
        }
        found.push_back(a);
    }
    return found;
}

}  // namespace scorvane
