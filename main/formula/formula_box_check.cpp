#include "main/formula/formula_box_check.h"

#include "common/utf8.h"

namespace scorvane {

FormulaCheck FormulaBoxCheck::check(const GradeTable& copy, std::string_view formula, CellAddress target,
                                    bool generated, Prompter& prompter) {
    if (TrimSpaces(formula).empty()) {
        refused_ = false;
        return {false, std::string()};
    }
    if (ReferencesFormulaCell(copy, formula, target)) {
        if (generated || !refused_) {
            prompter.message(kReferencesFormulaMessage, "提示", Icon::Information);
        }
        refused_ = true;
        return {false, std::string()};
    }
    refused_ = false;
    return {true, 公式2值b(copy, formula, target)};
}

}  // namespace scorvane
