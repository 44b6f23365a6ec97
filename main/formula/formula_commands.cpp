#include "main/formula/formula_commands.h"

#include "main/formula/evaluator.h"
#include "main/formula/formula_cell.h"

namespace scorvane {

int CheckAllFormulas(Document& document) {
    document.takeSnapshot();
    GradeTable& t = document.table;
    int marked = 0;
    for (int r = 0; r < t.rows(); ++r) {
        for (int c = 0; c < t.cols(); ++c) {
            // A plain cell reading exactly "公式错误" (a frozen failed formula) is marked too.
            const CellText text = t.cell(r, c);
            if (IsFormula(text) ? 公式2值(t, r, c) == kFormulaError : text == kFormulaError) {
                t.setCell(r, c, std::string(kFormulaErrorPrefix).append(text));
                ++marked;
            }
        }
    }
    if (marked > 0) {
        document.setModified();
    }
    return marked;
}

int ReplaceFormulasByValues(GradeTable& table) {
    int changed = 0;
    for (int r = 0; r < table.rows(); ++r) {
        for (int c = 0; c < table.cols(); ++c) {
            if (IsFormula(table.cell(r, c))) {
                table.setCell(r, c, 公式2值(table, r, c));
                ++changed;
            }
        }
    }
    return changed;
}

bool ComputeAllFormulas(Document& document, Prompter& prompter, Confirmation confirmation) {
    if (confirmation == Confirmation::Ask && prompter.ask(kComputeAllQuestion, "提示", Buttons::OkCancel,
                                                          Icon::Question, Answer::Ok) != Answer::Ok) {
        return false;
    }
    document.takeSnapshot();
    if (ReplaceFormulasByValues(document.table) > 0) {
        document.setModified();
    }
    return true;
}

bool CanApplyFormulaToColumn(const GradeTable& table, int row, int col) {
    return table.contains(row, col) && IsFormula(table.cell(row, col));
}

std::string ApplyFormulaToColumnQuestion(const GradeTable& table, int col) {
    return "本操作将会覆盖第 " + std::to_string(col) + " 列(" + std::string(table.cell(0, col)) +
           ")的所有数据，是否继续？";
}

bool ApplyFormulaToColumn(Document& document, int row, int col, Prompter& prompter) {
    GradeTable& t = document.table;
    if (!CanApplyFormulaToColumn(t, row, col)) {
        return false;
    }
    if (prompter.ask(ApplyFormulaToColumnQuestion(t, col), "提示", Buttons::YesNo, Icon::Question,
                     Answer::Yes) != Answer::Yes) {
        return false;
    }
    document.takeSnapshot();
    const std::string formula = t.cell(row, col);
    for (int r = 1; r < t.rows(); ++r) {
        t.setCell(r, col, formula);
    }
    document.setModified();
    return true;
}

}  // namespace scorvane
