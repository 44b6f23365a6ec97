#pragma once

#include <optional>
#include <string>

#include "main/document/grade_table.h"

namespace scorvane {

// The grid's selection, one convention for the core and the window. (row, col) is the current cell:
// the corner where a selection starts, which a click or a plain arrow key sets, and which the value
// box, the position box, the cell editor and the commands on "the current cell" or "the current
// column" use. (rowSel, colSel) is the opposite corner, which a drag, Shift+click or Shift+arrow
// moves; copy, cut and paste act on it. For a single selected cell both corners are equal.
struct GridSelection {
    int row = 1;
    int col = 1;
    int rowSel = 1;
    int colSel = 1;
    bool operator==(const GridSelection&) const = default;

    static GridSelection cell(int row, int col) { return {row, col, row, col}; }
};

// The position box's text: "行:" row "列:" column, as 行:3列:2.
inline std::string PositionText(int row, int col) {
    return "行:" + std::to_string(row) + "列:" + std::to_string(col);
}

// A data cell: a student's row (1 …) and a field's column (1 …) that the table holds.
bool IsDataCell(const GradeTable& table, int row, int col);

// The current cell (row, col) kept inside the table, as every command leaves the cursor: row 0 …
// rows − 1 and column 0 … cols − 1, or 0 where the table has none.
GridSelection CellInTable(const GradeTable& table, int row, int col);

// A range the grid selects as it is: both corners are data cells.
bool SelectsDataCells(const GradeTable& table, const GridSelection& selection);

// The whole of data row `row`, from the first field to the last, current cell on the first field;
// nullopt for a row the table does not have or a table without fields.
std::optional<GridSelection> WholeRow(const GradeTable& table, int row);

}  // namespace scorvane
