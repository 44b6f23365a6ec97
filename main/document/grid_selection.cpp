#include "main/document/grid_selection.h"

#include <algorithm>

namespace scorvane {

bool IsDataCell(const GradeTable& table, int row, int col) {
    return row >= 1 && col >= 1 && table.contains(row, col);
}

GridSelection CellInTable(const GradeTable& table, int row, int col) {
    return GridSelection::cell(std::clamp(row, 0, std::max(0, table.rows() - 1)),
                               std::clamp(col, 0, std::max(0, table.cols() - 1)));
}

bool SelectsDataCells(const GradeTable& table, const GridSelection& selection) {
    return IsDataCell(table, selection.row, selection.col) &&
           IsDataCell(table, selection.rowSel, selection.colSel);
}

std::optional<GridSelection> WholeRow(const GradeTable& table, int row) {
    if (row < 1 || row >= table.rows() || table.cols() < 2) {
        return std::nullopt;
    }
    return GridSelection{row, 1, row, table.cols() - 1};
}

}  // namespace scorvane
