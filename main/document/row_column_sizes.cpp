#include "main/document/row_column_sizes.h"

#include <algorithm>

#include "common/utf8.h"

namespace scorvane {

std::string SizeBoxText(std::string_view typed, int openingSize) {
    const bool digitsOnly = !typed.empty() && std::all_of(typed.begin(), typed.end(),
                                                          [](char c) { return c >= '0' && c <= '9'; });
    if (!digitsOnly) {
        return std::to_string(openingSize);
    }
    long long value = 0;
    if (!ParseWholeNumber(typed, 0, kMaxCellSizeTwips, value)) {
        return std::to_string(kMaxCellSizeTwips);  // digits beyond the largest size
    }
    return std::string(typed);
}

void SetSelectionSizes(GradeTable& table, const GridSelection& selection, int rowHeightTwips,
                       int columnWidthTwips) {
    const int height = std::clamp(rowHeightTwips, 0, kMaxCellSizeTwips);
    const int width = std::clamp(columnWidthTwips, 0, kMaxCellSizeTwips);
    const int firstRow = std::max(0, std::min(selection.row, selection.rowSel));
    const int lastRow = std::min(table.rows() - 1, std::max(selection.row, selection.rowSel));
    for (int r = firstRow; r <= lastRow; ++r) {
        table.setRowHeight(r, height);
    }
    const int firstCol = std::max(0, std::min(selection.col, selection.colSel));
    const int lastCol = std::min(table.cols() - 1, std::max(selection.col, selection.colSel));
    for (int c = firstCol; c <= lastCol; ++c) {
        table.setColumnWidth(c, width);
    }
}

}  // namespace scorvane
