#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scorvane {

// How find marks a cell: its text colour and whether it is bold.
enum class MarkColour : uint8_t { Normal = 0, Red = 1, Blue = 2 };
struct CellMark {
    MarkColour colour = MarkColour::Normal;
    bool bold = false;
    bool operator==(const CellMark&) const = default;
};

// A grade table: Rows x Cols cells of UTF-8 text, row-major. Row 0 holds the field titles, column 0
// the row numbers, cell (0,0) is the corner; the data cells are rows 1.. x columns 1... Beside the
// grid it keeps the title, the teacher, the class information, the data format and the file path.
class GradeTable {
  public:
    // The largest row and column counts (the counts are 16-bit numbers in the data file).
    static constexpr int kMaxCount = 32767;

    // A fresh table window: Rows = 2, Cols = 2, one empty data cell.
    GradeTable() : GradeTable(2, 2) {}
    GradeTable(int rows, int cols);

    int rows() const { return rows_; }
    int cols() const { return cols_; }

    // The flat index row x Cols + column of the current column count.
    int64_t faIndex(int row, int col) const { return static_cast<int64_t>(row) * cols_ + col; }

    const std::string& cell(int row, int col) const { return cells_[static_cast<size_t>(faIndex(row, col))]; }
    void setCell(int row, int col, std::string text) {
        cells_[static_cast<size_t>(faIndex(row, col))] = std::move(text);
    }
    const std::string& cellAt(int64_t index) const { return cells_[static_cast<size_t>(index)]; }
    void setCellAt(int64_t index, std::string text) { cells_[static_cast<size_t>(index)] = std::move(text); }
    bool contains(int row, int col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }

    // Changing a count keeps every cell at its (row, column) and empties new cells.
    void setRows(int rows);
    void setCols(int cols);
    void resize(int rows, int cols);

    // The header layout string: segments joined by "|". Setting it makes Cols the number of segments,
    // writes segment 0 into the corner and segment i into the title cell (0, i), keeps every other
    // cell at its (row, column) and returns the columns to the widths that fit their titles.
    void setHeaderLayout(std::string_view layout);
    // The string last set (empty for a fresh table).
    const std::string& headerLayout() const { return headerLayout_; }
    // The segments of a header layout string, split at every "|": segment 0 is the corner's, segment
    // i the title of column i. A string without "|" is one segment.
    static std::vector<std::string_view> SplitHeaderLayout(std::string_view layout);
    // Back to a table whose string was never set (undo to a fresh table's state): the counts and row 0
    // stay as they are, the columns fit their titles again.
    void clearHeaderLayout();
    // "  " then "|" + title for every field; with `blankEmptyTitles` an empty title is written as
    // three spaces (the rule of the field commands), otherwise as it is (the rule after a load). A "|"
    // inside a title (from a file written elsewhere) would split it and shift every later title off
    // its data: it is written as kTitleBarStandIn instead, so the count and the titles' places stay.
    std::string composeHeaderLayout(bool blankEmptyTitles) const;
    static constexpr std::string_view kTitleBarStandIn = "｜";

    // Column 0 of rows 1.. := "1", "2", ...
    void renumber();

    std::vector<std::string> fieldTitles() const;  // row 0, columns 1..Cols-1

    // Find marks, per cell; every cell starts unmarked.
    CellMark mark(int row, int col) const;
    void setMark(int row, int col, CellMark mark);
    void clearMarks();
    bool hasMarks() const { return !marks_.empty(); }

    // Explicit column widths and row heights in twips (0 = the default: a column fits its title,
    // a row has the grid's row height). Setting the header layout string clears the column widths.
    int columnWidth(int col) const;
    void setColumnWidth(int col, int twips);
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);
    // Counts every change of the header layout string, so views know when to size columns again.
    uint64_t layoutGeneration() const { return layoutGeneration_; }

    std::vector<std::string>& cells() { return cells_; }
    const std::vector<std::string>& cells() const { return cells_; }

    std::string title = "未命名的表格";  // the window caption
    std::string teacher;                 // Text3
    std::string classInfo;               // Text4
    std::string dataFormat = "###.##";   // DataFormat
    std::string filePath;                // Text7: full path without ".skv"; empty when none yet

  private:
    int rows_;
    int cols_;
    std::vector<std::string> cells_;
    std::string headerLayout_;
    std::vector<CellMark> marks_;    // empty, or rows x cols
    std::vector<int> columnWidths_;  // empty, or one per column
    std::vector<int> rowHeights_;    // empty, or one per row
    uint64_t layoutGeneration_ = 0;
};

}  // namespace scorvane
