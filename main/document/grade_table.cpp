#include "main/document/grade_table.h"

#include <algorithm>

#include "common/utf8.h"

namespace scorvane {
namespace {

// Re-lays a row-major vector from oldCols to newCols columns and newRows rows, keeping (row, column).
template <typename T>
void relayout(std::vector<T>& v, int oldRows, int oldCols, int newRows, int newCols) {
    if (oldCols == newCols) {
        v.resize(static_cast<size_t>(newRows) * static_cast<size_t>(newCols));
        return;
    }
    std::vector<T> next(static_cast<size_t>(newRows) * static_cast<size_t>(newCols));
    int keepRows = std::min(oldRows, newRows);
    int keepCols = std::min(oldCols, newCols);
    for (int r = 0; r < keepRows; ++r) {
        auto from = v.begin() + static_cast<long>(r) * oldCols;
        auto to = next.begin() + static_cast<long>(r) * newCols;
        std::move(from, from + keepCols, to);
    }
    v = std::move(next);
}

}  // namespace

GradeTable::GradeTable(int rows, int cols)
    : rows_(std::clamp(rows, 0, kMaxCount)),
      cols_(std::clamp(cols, 0, kMaxCount)),
      cells_(static_cast<size_t>(rows_) * static_cast<size_t>(cols_)) {}

void GradeTable::setRows(int rows) {
    resize(rows, cols_);
}
void GradeTable::setCols(int cols) {
    resize(rows_, cols);
}

void GradeTable::resize(int rows, int cols) {
    rows = std::clamp(rows, 0, kMaxCount);
    cols = std::clamp(cols, 0, kMaxCount);
    if (rows == rows_ && cols == cols_) {
        return;
    }
    relayout(cells_, rows_, cols_, rows, cols);
    if (!marks_.empty()) {
        relayout(marks_, rows_, cols_, rows, cols);
    }
    if (!columnWidths_.empty()) {
        columnWidths_.resize(static_cast<size_t>(cols), 0);
    }
    if (!rowHeights_.empty()) {
        rowHeights_.resize(static_cast<size_t>(rows), 0);
    }
    rows_ = rows;
    cols_ = cols;
}

std::vector<std::string_view> GradeTable::SplitHeaderLayout(std::string_view layout) {
    std::vector<std::string_view> segments;
    size_t pos = 0;
    while (true) {
        size_t bar = layout.find('|', pos);
        segments.push_back(
            layout.substr(pos, bar == std::string_view::npos ? std::string_view::npos : bar - pos));
        if (bar == std::string_view::npos) {
            return segments;
        }
        pos = bar + 1;
    }
}

void GradeTable::setHeaderLayout(std::string_view layout) {
    const std::vector<std::string_view> segments = SplitHeaderLayout(layout);
    int count = static_cast<int>(std::min<size_t>(segments.size(), kMaxCount));
    // A grid keeps at least its fixed row to hold the titles.
    resize(std::max(rows_, 1), count);
    for (int c = 0; c < count; ++c) {
        setCell(0, c, std::string(segments[static_cast<size_t>(c)]));
    }
    headerLayout_ = std::string(layout);
    columnWidths_.clear();
    ++layoutGeneration_;
}

void GradeTable::clearHeaderLayout() {
    headerLayout_.clear();
    columnWidths_.clear();
    ++layoutGeneration_;
}

std::string GradeTable::composeHeaderLayout(bool blankEmptyTitles) const {
    std::string layout = "  ";
    for (int c = 1; c < cols_; ++c) {
        layout += '|';
        const std::string& t = rows_ > 0 ? cell(0, c) : std::string();
        if (blankEmptyTitles && t.empty()) {
            layout += "   ";
        } else if (t.find('|') != std::string::npos) {
            layout += ReplaceAll(t, "|", kTitleBarStandIn);
        } else {
            layout += t;
        }
    }
    return layout;
}

void GradeTable::renumber() {
    if (cols_ < 1) {
        return;
    }
    for (int r = 1; r < rows_; ++r) {
        setCell(r, 0, std::to_string(r));
    }
}

std::vector<std::string> GradeTable::fieldTitles() const {
    std::vector<std::string> titles;
    if (rows_ < 1) {
        return titles;
    }
    for (int c = 1; c < cols_; ++c) {
        titles.push_back(cell(0, c));
    }
    return titles;
}

CellMark GradeTable::mark(int row, int col) const {
    if (marks_.empty() || !contains(row, col)) {
        return {};
    }
    return marks_[static_cast<size_t>(faIndex(row, col))];
}

void GradeTable::setMark(int row, int col, CellMark mark) {
    if (!contains(row, col)) {
        return;
    }
    if (marks_.empty()) {
        if (mark == CellMark{}) {
            return;
        }
        marks_.resize(cells_.size());
    }
    marks_[static_cast<size_t>(faIndex(row, col))] = mark;
}

void GradeTable::clearMarks() {
    marks_.clear();
}

int GradeTable::columnWidth(int col) const {
    if (col < 0 || static_cast<size_t>(col) >= columnWidths_.size()) {
        return 0;
    }
    return columnWidths_[static_cast<size_t>(col)];
}

void GradeTable::setColumnWidth(int col, int twips) {
    if (col < 0 || col >= cols_) {
        return;
    }
    if (columnWidths_.empty()) {
        columnWidths_.resize(static_cast<size_t>(cols_), 0);
    }
    columnWidths_[static_cast<size_t>(col)] = std::max(0, twips);
}

int GradeTable::rowHeight(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= rowHeights_.size()) {
        return 0;
    }
    return rowHeights_[static_cast<size_t>(row)];
}

void GradeTable::setRowHeight(int row, int twips) {
    if (row < 0 || row >= rows_) {
        return;
    }
    if (rowHeights_.empty()) {
        rowHeights_.resize(static_cast<size_t>(rows_), 0);
    }
    rowHeights_[static_cast<size_t>(row)] = std::max(0, twips);
}

}  // namespace scorvane
