#include "main/document/cell_value.h"

#include "main/formula/formula_cell.h"

namespace scorvane {

CellValueFn FormulaValues(const GradeTable& table) {
    return [&table](int row, int col) { return 公式2值(table, row, col); };
}

}  // namespace scorvane
