#include "main/document/grade_table.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <ostream>
#include <stdexcept>
#include <utility>

#include "common/utf8.h"

namespace scorvane {
namespace {

// Replaced texts are reclaimed once they are more than half the buffer and at least this much.
constexpr size_t kCompactMinimum = 64 * 1024;

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

std::string operator+(CellText left, std::string_view right) {
    std::string joined;
    joined.reserve(left.size() + right.size());
    joined.append(left).append(right);
    return joined;
}

std::string operator+(std::string_view left, CellText right) {
    std::string joined;
    joined.reserve(left.size() + right.size());
    joined.append(left).append(right);
    return joined;
}

std::string operator+(CellText left, CellText right) {
    return left + std::string_view(right);
}

void PrintTo(const CellText& text, std::ostream* out) {
    *out << '"' << std::string_view(text) << '"';
}

// ---- the text buffer

GradeTable::TextBuffer::TextBuffer(TextBuffer&& other) noexcept
    : data(std::exchange(other.data, nullptr)),
      size(std::exchange(other.size, 0)),
      capacity(std::exchange(other.capacity, 0)) {}

GradeTable::TextBuffer& GradeTable::TextBuffer::operator=(TextBuffer&& other) noexcept {
    if (this != &other) {
        std::free(data);
        data = std::exchange(other.data, nullptr);
        size = std::exchange(other.size, 0);
        capacity = std::exchange(other.capacity, 0);
    }
    return *this;
}

GradeTable::TextBuffer::~TextBuffer() {
    std::free(data);
}

void GradeTable::TextBuffer::reserve(size_t bytes) {
    if (bytes <= capacity) {
        return;
    }
    // Offsets are 32-bit: a table holds at most 4 GiB of long texts.
    if (bytes > std::numeric_limits<uint32_t>::max()) {
        throw std::length_error("grade table text");
    }
    size_t next = std::max<size_t>({bytes, capacity + capacity / 2, 256});
    next = std::min<size_t>(next, std::numeric_limits<uint32_t>::max());
    void* grown = std::realloc(data, next);
    if (!grown) {
        throw std::bad_alloc();
    }
    data = static_cast<char*>(grown);
    capacity = next;
}

uint32_t GradeTable::TextBuffer::append(std::string_view bytes) {
    reserve(size + bytes.size());
    const auto at = static_cast<uint32_t>(size);
    std::memcpy(data + size, bytes.data(), bytes.size());
    size += bytes.size();
    return at;
}

// ---- the table

GradeTable::GradeTable(int rows, int cols)
    : rows_(std::clamp(rows, 0, kMaxCount)),
      cols_(std::clamp(cols, 0, kMaxCount)),
      cells_(static_cast<size_t>(rows_) * static_cast<size_t>(cols_)) {}

GradeTable::GradeTable(const GradeTable& other)
    : title(other.title),
      teacher(other.teacher),
      classInfo(other.classInfo),
      dataFormat(other.dataFormat),
      filePath(other.filePath),
      printPlan(other.printPlan),
      rows_(other.rows_),
      cols_(other.cols_),
      cells_(other.cells_),
      replaced_(other.replaced_),
      headerLayout_(other.headerLayout_),
      marks_(other.marks_),
      columnWidths_(other.columnWidths_),
      rowHeights_(other.rowHeights_),
      layoutGeneration_(other.layoutGeneration_) {
    if (other.text_.size > 0) {
        text_.reserve(other.text_.size);
        text_.append(std::string_view(other.text_.data, other.text_.size));
    }
    maybeCompact();
}

GradeTable& GradeTable::operator=(const GradeTable& other) {
    if (this != &other) {
        GradeTable copy(other);
        *this = std::move(copy);
    }
    return *this;
}

GradeTable::GradeTable(GradeTable&& other) noexcept = default;
GradeTable& GradeTable::operator=(GradeTable&& other) noexcept = default;
GradeTable::~GradeTable() = default;

bool GradeTable::sharesText(size_t index) const {
    const Cell& c = cells_[index];
    const size_t cols = static_cast<size_t>(cols_);
    return (index >= cols && cells_[index - cols] == c) || (index + cols < cells_.size() && cells_[index + cols] == c);
}

void GradeTable::setCellAt(int64_t index, std::string_view text) {
    const auto i = static_cast<size_t>(index);
    const Cell& cell = cells_[i];
    const auto size = static_cast<uint32_t>(std::min<size_t>(text.size(), std::numeric_limits<uint32_t>::max()));
    if (size != text.size()) {
        throw std::length_error("grade table cell");
    }
    const Cell old = cell;
    const bool oldOwned = old.size > kInlineBytes && !sharesText(i);
    Cell next{size, 0};
    if (size <= kInlineBytes) {
        // `text` may be this very cell's bytes; an empty view may have no bytes at all.
        if (size > 0) {
            std::memmove(&next.at, text.data(), size);
        }
    } else if (const auto from = reinterpret_cast<uintptr_t>(text.data()),
               begin = reinterpret_cast<uintptr_t>(text_.data);
               from >= begin && from + size <= begin + text_.size) {
        // A text of this table (another cell's, or part of it) is shared, not copied.
        next.at = static_cast<uint32_t>(from - begin);
    } else {
        const size_t cols = static_cast<size_t>(cols_);
        const Cell* above = i >= cols ? &cells_[i - cols] : nullptr;
        if (above && above->size == size && std::memcmp(text_.data + above->at, text.data(), size) == 0) {
            next.at = above->at;
        } else {
            next.at = text_.append(text);
        }
    }
    cells_[i] = next;
    if (oldOwned && !(next == old)) {
        replaced_ += old.size;
        maybeCompact();
    }
}

void GradeTable::maybeCompact() {
    if (replaced_ >= kCompactMinimum && replaced_ * 2 > text_.size) {
        compact();
    }
}

void GradeTable::compact() {
    TextBuffer kept;
    kept.reserve(text_.size > replaced_ ? text_.size - replaced_ : 0);
    const size_t cols = static_cast<size_t>(cols_);
    // A text shared down a column stays shared: each column remembers its last text, old and new.
    std::vector<Cell> lastOld(cols);
    std::vector<uint32_t> lastNew(cols);
    for (size_t i = 0; i < cells_.size(); ++i) {
        Cell& c = cells_[i];
        if (c.size <= kInlineBytes) {
            continue;
        }
        const size_t col = i % cols;
        if (lastOld[col] == c) {
            c.at = lastNew[col];
            continue;
        }
        lastOld[col] = c;
        c.at = kept.append(std::string_view(text_.data + c.at, c.size));
        lastNew[col] = c.at;
    }
    text_ = std::move(kept);
    replaced_ = 0;
}

std::vector<std::string> GradeTable::cellTexts() const {
    std::vector<std::string> texts;
    texts.reserve(cells_.size());
    for (size_t i = 0; i < cells_.size(); ++i) {
        texts.emplace_back(cellAt(static_cast<int64_t>(i)));
    }
    return texts;
}

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
    // The texts of dropped cells count as replaced.
    for (int r = 0; r < rows_; ++r) {
        for (int c = (r < rows ? cols : 0); c < cols_; ++c) {
            const Cell& dropped = cells_[static_cast<size_t>(faIndex(r, c))];
            if (dropped.size > kInlineBytes) {
                replaced_ += dropped.size;
            }
        }
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
    maybeCompact();
}

void GradeTable::reorderDataRows(const std::vector<int>& order) {
    const size_t cols = static_cast<size_t>(cols_);
    const size_t dataRows = rows_ > 0 ? static_cast<size_t>(rows_) - 1 : 0;
    if (order.size() != dataRows || cols == 0) {
        return;
    }
    std::vector<Cell> moved(cells_.size());
    std::copy(cells_.begin(), cells_.begin() + static_cast<long>(cols), moved.begin());
    for (size_t i = 0; i < dataRows; ++i) {
        const auto from = cells_.begin() + static_cast<long>((static_cast<size_t>(order[i]) + 1) * cols);
        std::copy(from, from + static_cast<long>(cols), moved.begin() + static_cast<long>((i + 1) * cols));
    }
    cells_.swap(moved);
    if (!marks_.empty()) {
        std::vector<CellMark> marks(marks_.size());
        std::copy(marks_.begin(), marks_.begin() + static_cast<long>(cols), marks.begin());
        for (size_t i = 0; i < dataRows; ++i) {
            const auto from = marks_.begin() + static_cast<long>((static_cast<size_t>(order[i]) + 1) * cols);
            std::copy(from, from + static_cast<long>(cols), marks.begin() + static_cast<long>((i + 1) * cols));
        }
        marks_.swap(marks);
    }
}

void GradeTable::insertColumn(int col) {
    if (cols_ >= kMaxCount) {
        return;
    }
    col = std::clamp(col, 0, cols_);
    setCols(cols_ + 1);
    for (int r = 0; r < rows_; ++r) {
        auto rowStart = cells_.begin() + static_cast<long>(faIndex(r, 0));
        std::move_backward(rowStart + col, rowStart + cols_ - 1, rowStart + cols_);
        rowStart[col] = Cell{};
    }
}

void GradeTable::removeColumn(int col) {
    if (col < 0 || col >= cols_) {
        return;
    }
    for (int r = 0; r < rows_; ++r) {
        auto rowStart = cells_.begin() + static_cast<long>(faIndex(r, 0));
        if (rowStart[col].size > kInlineBytes) {
            replaced_ += rowStart[col].size;
        }
        std::move(rowStart + col + 1, rowStart + cols_, rowStart + col);
        rowStart[cols_ - 1] = Cell{};
    }
    setCols(cols_ - 1);
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
    // The string may be this table's own (headerLayout()): it is kept before anything changes.
    std::string kept(layout);
    const std::vector<std::string_view> segments = SplitHeaderLayout(kept);
    int count = static_cast<int>(std::min<size_t>(segments.size(), kMaxCount));
    // A grid keeps at least its fixed row to hold the titles.
    resize(std::max(rows_, 1), count);
    for (int c = 0; c < count; ++c) {
        setCell(0, c, segments[static_cast<size_t>(c)]);
    }
    headerLayout_ = std::move(kept);
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
        const std::string_view t = rows_ > 0 ? std::string_view(cell(0, c)) : std::string_view();
        if (blankEmptyTitles && t.empty()) {
            layout += "   ";
        } else if (t.find('|') != std::string_view::npos) {
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
    char digits[16];
    for (int r = 1; r < rows_; ++r) {
        const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, r);
        setCell(r, 0, std::string_view(digits, static_cast<size_t>(end - digits)));
    }
}

std::vector<std::string> GradeTable::fieldTitles() const {
    std::vector<std::string> titles;
    if (rows_ < 1) {
        return titles;
    }
    for (int c = 1; c < cols_; ++c) {
        titles.emplace_back(cell(0, c));
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
