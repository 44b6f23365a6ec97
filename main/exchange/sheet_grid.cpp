#include "main/exchange/sheet_grid.h"

#include <algorithm>

namespace scorvane {

bool SheetGrid::set(int row, int col, std::string text) {
    if (text.empty() || row < 0 || col < 0) {
        return true;
    }
    if (rows.empty() || rows.back().index != row) {
        if (!rows.empty() && rows.back().index > row) {
            return true;  // a row the sheet gives twice, or out of order: its first cells stand
        }
        // Rows of a sheet are mostly as wide as the one before.
        const size_t width = rows.empty() ? 0 : rows.back().cells.size();
        rows.push_back(SheetRow{row, {}});
        rows.back().cells.reserve(width);
    }
    std::vector<std::string>& cells = rows.back().cells;
    const auto size = static_cast<size_t>(col) + 1;
    if (size > cells.size()) {
        const auto added = static_cast<int64_t>(size - cells.size());
        if (cells_ + added > kMaxSheetCells) {
            return false;
        }
        cells_ += added;
        cells.resize(size);
    }
    cells[static_cast<size_t>(col)] = std::move(text);
    return true;
}

bool SheetGrid::append(SheetGrid&& rest, int rowOffset) {
    if (rest.rows.empty()) {
        return true;
    }
    if ((!rows.empty() && rest.rows.front().index + int64_t{rowOffset} <= rows.back().index) ||
        cells_ + rest.cells_ > kMaxSheetCells) {
        return false;
    }
    rows.reserve(rows.size() + rest.rows.size());
    for (SheetRow& row : rest.rows) {
        row.index += rowOffset;
        rows.push_back(std::move(row));
    }
    cells_ += rest.cells_;
    rest = SheetGrid();
    return true;
}

bool SheetGrid::clearMerged(int top, int left, int bottom, int right) {
    if (top > bottom || left > right || left < 0) {
        return true;
    }
    auto row = std::lower_bound(rows.begin(), rows.end(), top,
                                [](const SheetRow& r, int index) { return r.index < index; });
    for (; row != rows.end() && row->index <= bottom; ++row) {
        const int end = std::min(right, static_cast<int>(row->cells.size()) - 1);
        mergeWork_ += 1 + std::max(0, end - left + 1);
        if (mergeWork_ > 4 * kMaxSheetCells) {
            return false;
        }
        for (int c = left; c <= end; ++c) {
            if (row->index != top || c != left) {
                row->cells[static_cast<size_t>(c)].clear();
            }
        }
    }
    return true;
}

}  // namespace scorvane
