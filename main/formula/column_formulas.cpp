#include "main/formula/column_formulas.h"

#include <algorithm>

#include "common/fitted_text.h"
#include "common/utf8.h"
#include "main/formula/formula_cell.h"

namespace scorvane {
namespace {

bool rowIsFilled(const GradeTable& table, int row) {
    for (int c = 1; c < table.cols(); ++c) {
        if (!IsBlank(table.cell(row, c))) {
            return true;
        }
    }
    return false;
}

// A student's row: something in a field that has no column formula.
bool holdsStudent(const GradeTable& table, const std::vector<std::string>& formulas, int row) {
    for (int c = 1; c < table.cols(); ++c) {
        const bool formulaField =
            static_cast<size_t>(c) < formulas.size() && !formulas[static_cast<size_t>(c)].empty();
        if (!formulaField && !IsBlank(table.cell(row, c))) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> ColumnFormulas(const GradeTable& table) {
    std::vector<std::string> formulas(static_cast<size_t>(std::max(table.cols(), 1)));
    std::vector<bool> broken(formulas.size(), false);
    std::vector<int> notes(formulas.size(), 0);
    std::vector<int> formulaRows(formulas.size(), 0);
    for (int r = 1; r < table.rows(); ++r) {
        if (!rowIsFilled(table, r)) {
            continue;
        }
        for (int c = 1; c < table.cols(); ++c) {
            const auto i = static_cast<size_t>(c);
            if (broken[i]) {
                continue;
            }
            const CellText text = table.cell(r, c);
            if (!IsFormula(text)) {
                // A note (缺考) stands in the formula's place; a blank or a number does not.
                broken[i] = IsBlank(text) || IsNumberText(text);
                ++notes[i];
            } else if (formulas[i].empty() || formulas[i] == text) {
                formulas[i] = std::string(text);
                ++formulaRows[i];
                continue;
            } else {
                broken[i] = true;
            }
            if (broken[i]) {
                formulas[i].clear();
            }
        }
    }
    // A field of notes with a formula here and there is no column formula.
    for (size_t i = 0; i < formulas.size(); ++i) {
        if (formulaRows[i] <= notes[i]) {
            formulas[i].clear();
        }
    }
    return formulas;
}

int FillColumnFormulas(GradeTable& table, const std::vector<std::string>& formulas, int first, int last) {
    int written = 0;
    const int cols = std::min(table.cols(), static_cast<int>(formulas.size()));
    for (int r = std::max(first, 1); r <= last && r < table.rows(); ++r) {
        if (!holdsStudent(table, formulas, r)) {
            continue;
        }
        for (int c = 1; c < cols; ++c) {
            const std::string& formula = formulas[static_cast<size_t>(c)];
            if (!formula.empty() && IsBlank(table.cell(r, c))) {
                table.setCell(r, c, formula);
                ++written;
            }
        }
    }
    return written;
}

}  // namespace scorvane
