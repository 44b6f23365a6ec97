#include "main/formula/formula_generator.h"

namespace scorvane {
namespace {

std::string reference(int r, int c, CellAddress target) {
    std::string text = "cell(";
    text += r == target.row ? "?" : std::to_string(r);
    text += ',';
    text += c == target.col ? "?" : std::to_string(c);
    text += ')';
    return text;
}

}  // namespace

std::string GenerateFormula(FormulaOperation operation, CellAddress from, CellAddress to,
                            CellAddress target) {
    const int rowStep = to.row >= from.row ? 1 : -1;
    const int colStep = to.col >= from.col ? 1 : -1;
    const char joiner = operation == FormulaOperation::Difference ? '-'
                        : operation == FormulaOperation::Product  ? '*'
                                                                  : '+';
    std::string sum;      // S: the references joined
    std::string squares;  // Q: each reference squared, joined with "+"
    int n = 0;
    for (int r = from.row;; r += rowStep) {
        for (int c = from.col;; c += colStep) {
            std::string ref = reference(r, c, target);
            if (n > 0) {
                sum += joiner;
                squares += '+';
            }
            sum += ref;
            squares += ref + "^2";
            ++n;
            if (c == to.col) {
                break;
            }
        }
        if (r == to.row) {
            break;
        }
    }
    const std::string count = std::to_string(n);
    const std::string variance =
        "(1/" + count + ")*(" + squares + "-" + count + "*((" + sum + ")/" + count + ")^2)";
    switch (operation) {
        case FormulaOperation::Sum:
        case FormulaOperation::Difference:
        case FormulaOperation::Product:
            return sum;
        case FormulaOperation::Average:
            return "(" + sum + ")/" + count;
        case FormulaOperation::Variance:
            return variance;
        case FormulaOperation::StandardDeviation:
            return "sr(" + variance + ")";
    }
    return sum;
}

std::string 公式2值b(const GradeTable& copy, std::string_view formula, CellAddress target) {
    return FormulaValue(copy, formula, target.row, target.col);
}

bool ReferencesFormulaCell(const GradeTable& copy, std::string_view formula, CellAddress target) {
    for (const CellAddress& ref : FormulaReferences(copy, formula, target.row, target.col)) {
        if (IsFormula(copy.cell(ref.row, ref.col))) {
            return true;
        }
    }
    return false;
}

FormulaCheck CheckGeneratedFormula(const GradeTable& copy, std::string_view formula, CellAddress target,
                                   Prompter& prompter) {
    if (ReferencesFormulaCell(copy, formula, target)) {
        prompter.message(kReferencesFormulaMessage, "提示", Icon::Information);
        return {false, std::nullopt};
    }
    return {true, 公式2值b(copy, formula, target)};
}

std::string TargetCellText(CellAddress target) {
    return "行:" + std::to_string(target.row) + "列:" + std::to_string(target.col);
}

std::string AcceptedFormulaText(std::string_view formula) {
    return std::string(kFormulaMarker) + std::string(formula);
}

}  // namespace scorvane
