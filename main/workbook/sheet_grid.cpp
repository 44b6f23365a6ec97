#include "main/workbook/sheet_grid.h"

#include <algorithm>
#include <vector>

namespace scorvane {
namespace {

template <typename T>
void reserveAtLeast(std::vector<T>& v, size_t size) {
    if (v.capacity() < size) {
        v.reserve(std::max(size, v.capacity() + v.capacity() / 2));
    }
}

}  // namespace

bool SheetGrid::set(int row, int col, std::string_view text) {
    if (text.empty() || row < 0 || col < 0) {
        return true;
    }
    if (rows.empty() || rows.back().index != row) {
        if (!rows.empty() && rows.back().index > row) {
            return true;  // a row the sheet gives twice, or out of order: its first cells stand
        }
        rows.push_back(SheetRow{row, static_cast<uint32_t>(spans_.size()), 0});
    }
    SheetRow& last = rows.back();
    if (col >= last.width) {
        const auto added = static_cast<int64_t>(col) + 1 - last.width;
        if (cellCount() + added > kMaxSheetCells) {
            return false;
        }
        spans_.resize(spans_.size() + static_cast<size_t>(added));
        last.width = col + 1;
    }
    // The text goes after the others; the slot of a cell given again is reused where the text fits.
    Span& span = spans_[last.first + static_cast<size_t>(col)];
    if (text.size() <= span.length) {
        text_.replace(span.offset, text.size(), text);
        span.length = static_cast<uint32_t>(text.size());
        return true;
    }
    if (text_.size() + text.size() > UINT32_MAX) {
        return false;
    }
    span = {static_cast<uint32_t>(text_.size()), static_cast<uint32_t>(text.size())};
    text_.append(text);
    return true;
}

std::vector<std::string> SheetGrid::texts(const SheetRow& row) const {
    std::vector<std::string> out;
    for (int c = 0; c < row.width; ++c) {
        out.emplace_back(cell(row, c));
    }
    return out;
}

void SheetGrid::releaseCells() {
    std::vector<SheetRow>().swap(rows);
    std::string().swap(text_);
    std::vector<Span>().swap(spans_);
    mergeWork_ = 0;
}

void SheetGrid::reserve(size_t cells, size_t bytes) {
    spans_.reserve(cells);
    text_.reserve(bytes);
}

bool SheetGrid::append(SheetGrid&& rest, int rowOffset) {
    if (rest.rows.empty()) {
        return true;
    }
    if ((!rows.empty() && rest.rows.front().index + int64_t{rowOffset} <= rows.back().index) ||
        cellCount() + rest.cellCount() > kMaxSheetCells || text_.size() + rest.text_.size() > UINT32_MAX) {
        return false;
    }
    const auto cells = static_cast<uint32_t>(spans_.size());
    const auto bytes = static_cast<uint32_t>(text_.size());
    // Grown by half again at least: a long sheet is joined from many pieces.
    reserveAtLeast(rows, rows.size() + rest.rows.size());
    for (SheetRow& row : rest.rows) {
        row.index += rowOffset;
        row.first += cells;
        rows.push_back(row);
    }
    reserveAtLeast(spans_, spans_.size() + rest.spans_.size());
    for (Span span : rest.spans_) {
        span.offset += bytes;
        spans_.push_back(span);
    }
    text_.append(rest.text_);
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
        const int end = std::min(right, row->width - 1);
        mergeWork_ += 1 + std::max(0, end - left + 1);
        if (mergeWork_ > 4 * kMaxSheetCells) {
            return false;
        }
        for (int c = left; c <= end; ++c) {
            if (row->index != top || c != left) {
                spans_[row->first + static_cast<size_t>(c)].length = 0;
            }
        }
    }
    return true;
}

}  // namespace scorvane
