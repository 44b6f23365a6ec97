#pragma once

#include <string>

namespace scorvane {

// The grid's selection: the current cell (row, col) and the opposite corner (rowSel, colSel); for a
// single selected cell the corner is the current cell.
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
