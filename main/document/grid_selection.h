#pragma once

#include <string>

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

}  // namespace scorvane
