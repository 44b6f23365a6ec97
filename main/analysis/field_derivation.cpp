#include "main/analysis/field_derivation.h"

#include "common/utf8.h"
#include "main/analysis/field_marks.h"
#include "main/formula/formula_cell.h"

namespace scorvane {
namespace {

// The formula without blanks.
std::string withoutBlanks(std::string_view formula) {
    std::string out;
    for (char c : formula) {
        if (c != ' ' && c != '\t') {
            out += c;
        }
    }
    return out;
}

// Reads "ref+ref+...+ref" from `at` up to `end` into columns; false unless it is exactly that.
bool readSum(const GradeTable& table, std::string_view text, size_t at, size_t end, int row, int col,
             std::vector<int>& columns) {
    while (true) {
        CellAddress ref;
        size_t next = 0;
        if (!ReadFormulaReference(table, text, at, row, col, ref, next) || next > end || ref.row != row ||
            ref.col == col || ref.col < 1) {
            return false;
        }
        columns.push_back(ref.col);
        if (next == end) {
            return true;
        }
        if (text[next] != '+') {
            return false;
        }
        at = next + 1;
    }
}

}  // namespace

FieldDerivation DeriveFormula(const GradeTable& table, std::string_view formula, int row, int col) {
    const std::string text = withoutBlanks(formula);
    std::vector<int> columns;
    FieldDerivation out;
    const size_t close = text.rfind(")/");
    long long divisor = 0;
    if (readSum(table, text, 0, text.size(), row, col, columns)) {
        out.kind = FieldDerivation::Kind::Sum;
    } else if (columns.clear(); !text.empty() && text[0] == '(' && close != std::string::npos &&
                                readSum(table, text, 1, close, row, col, columns) &&
                                ParseWholeNumber(std::string_view(text).substr(close + 2), 1,
                                                 GradeTable::kMaxCount, divisor) &&
                                divisor == static_cast<long long>(columns.size())) {
        out.kind = FieldDerivation::Kind::Average;
    } else {
        return {};
    }
    for (int c : columns) {
        const std::string title(table.cell(0, c));
        if (IsBlank(title)) {
            return {};
        }
        out.fields.push_back(title);
    }
    return out;
}

FieldDerivation DeriveField(const GradeTable& table, int col) {
    if (col < 1 || col >= table.cols()) {
        return {};
    }
    FieldDerivation found;
    bool any = false;
    for (int r = 1; r < table.rows(); ++r) {
        const std::string_view text = table.cell(r, col);
        if (!IsFormula(text)) {
            continue;
        }
        const FieldDerivation here = DeriveFormula(table, text.substr(kFormulaMarker.size()), r, col);
        if (here.kind == FieldDerivation::Kind::None || (any && here != found)) {
            return {};
        }
        found = here;
        any = true;
    }
    return found;
}

DerivedFields DeriveFields(const GradeTable& table) {
    DerivedFields out;
    for (int c = 1; table.rows() > 0 && c < table.cols(); ++c) {
        const std::string title(table.cell(0, c));
        if (FieldColumn(table, title) != c) {
            continue;
        }
        if (FieldDerivation d = DeriveField(table, c); d.kind != FieldDerivation::Kind::None) {
            out.emplace_back(title, std::move(d));
        }
    }
    return out;
}

bool IsComputedField(const GradeTable& table, int col) {
    const std::string_view title = table.cell(0, col);
    if (title == "总分" || title == "平均" || title == "平均分") {
        return true;
    }
    for (int r = 1; r < table.rows(); ++r) {
        const std::string_view text = table.cell(r, col);
        if (IsFormula(text) &&
            !FormulaReferences(table, text.substr(kFormulaMarker.size()), r, col).empty()) {
            return true;
        }
    }
    return false;
}

}  // namespace scorvane
