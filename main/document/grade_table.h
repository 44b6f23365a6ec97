#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "main/document/table_print_plan.h"

namespace scorvane {

// How find marks a cell: its text colour and whether it is bold.
enum class MarkColour : uint8_t { Normal = 0, Red = 1, Blue = 2 };
struct CellMark {
    MarkColour colour = MarkColour::Normal;
    bool bold = false;
    bool operator==(const CellMark&) const = default;
};

// A cell's text where the table keeps it. It reads and compares as a std::string_view, and becomes a
// std::string where code keeps a copy (`std::string text = table.cell(r, c);`). It stays valid until
// the table next changes: a cell set, the counts changed, rows moved, the table assigned or destroyed.
class CellText : public std::string_view {
  public:
    constexpr CellText() noexcept = default;
    constexpr explicit CellText(std::string_view text) noexcept : std::string_view(text) {}
    operator std::string() const { return std::string(data(), size()); }
};

// Joined with other text as a std::string is.
std::string operator+(CellText left, std::string_view right);
std::string operator+(std::string_view left, CellText right);
std::string operator+(CellText left, CellText right);

// Shows the text itself in diagnostics (test failures), not its characters one by one.
void PrintTo(const CellText& text, std::ostream* out);

// A grade table: Rows x Cols cells of UTF-8 text, row-major. Row 0 holds the field titles, column 0
// the row numbers, cell (0,0) is the corner; the data cells are rows 1.. x columns 1... Beside the
// grid it keeps the title, the teacher, the class information, the data format and the file path.
//
// The cells take eight bytes each: a text of up to four bytes (a mark, a short row number) stands in
// the cell itself, a longer one in the table's one text buffer, where texts are only ever appended.
// A text equal to the one in the cell above shares its bytes, so a column of identical formulas holds
// its formula once. Replaced texts are reclaimed in one pass once they outweigh the live ones.
class GradeTable {
  public:
    // The largest row and column counts (the counts are 16-bit numbers in the data file).
    static constexpr int kMaxCount = 32767;

    // A fresh table window: Rows = 2, Cols = 2, one empty data cell.
    GradeTable() : GradeTable(2, 2) {}
    GradeTable(int rows, int cols);
    GradeTable(const GradeTable& other);
    GradeTable& operator=(const GradeTable& other);
    GradeTable(GradeTable&& other) noexcept;
    GradeTable& operator=(GradeTable&& other) noexcept;
    ~GradeTable();

    int rows() const { return rows_; }
    int cols() const { return cols_; }

    // The flat index row x Cols + column of the current column count.
    int64_t faIndex(int row, int col) const { return static_cast<int64_t>(row) * cols_ + col; }

    CellText cell(int row, int col) const { return cellAt(faIndex(row, col)); }
    void setCell(int row, int col, std::string_view text) { setCellAt(faIndex(row, col), text); }
    CellText cellAt(int64_t index) const {
        const Cell& c = cells_[static_cast<size_t>(index)];
        return CellText(std::string_view(
            c.size <= kInlineBytes ? reinterpret_cast<const char*>(&c.at) : text_.data + c.at, c.size));
    }
    // `text` may be a cell's text of this very table.
    void setCellAt(int64_t index, std::string_view text);
    bool contains(int row, int col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }

    // Every cell's text, row by row from row 0: a copy, for comparing whole tables.
    std::vector<std::string> cellTexts() const;

    // Changing a count keeps every cell at its (row, column) and empties new cells.
    void setRows(int rows);
    void setCols(int cols);
    void resize(int rows, int cols);

    // Moves whole data rows with their marks: row i + 1 receives what row order[i] + 1 held (`order` is
    // a permutation of 0 .. Rows-2); row 0 stays.
    void reorderDataRows(const std::vector<int>& order);
    // A new column of empty cells at `col` (1 .. Cols), the cells from `col` on moving one column right;
    // and the reverse, the cells of `col` dropped and the later ones moving left. Marks, column widths
    // and row heights stay where they are.
    void insertColumn(int col);
    void removeColumn(int col);

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

    std::string title = "未命名的表格";  // the window caption
    std::string teacher;                 // Text3
    std::string classInfo;               // Text4
    std::string dataFormat = "###.##";   // DataFormat
    std::string filePath;                // Text7: full path without ".skv"; empty when none yet
    TablePrintPlan printPlan;            // set by the analysis that made the table; not saved

  private:
    // A cell: its text's length, and either the text itself (up to kInlineBytes) or its offset in text_.
    struct Cell {
        uint32_t size = 0;
        uint32_t at = 0;
        bool operator==(const Cell&) const = default;
    };
    static constexpr uint32_t kInlineBytes = sizeof(uint32_t);

    // The buffer of the longer texts: bytes end to end, appended only.
    struct TextBuffer {
        char* data = nullptr;
        size_t size = 0;
        size_t capacity = 0;
        TextBuffer() = default;
        TextBuffer(const TextBuffer&) = delete;
        TextBuffer& operator=(const TextBuffer&) = delete;
        TextBuffer(TextBuffer&& other) noexcept;
        TextBuffer& operator=(TextBuffer&& other) noexcept;
        ~TextBuffer();
        void reserve(size_t bytes);
        uint32_t append(std::string_view bytes);  // the offset of the appended bytes
    };

    // Whether the cell keeps its text in text_ and shares it with the cell above or below.
    bool sharesText(size_t index) const;
    // Drops the texts no cell refers to any more.
    void compact();
    void maybeCompact();

    int rows_;
    int cols_;
    std::vector<Cell> cells_;
    TextBuffer text_;
    size_t replaced_ = 0;  // bytes of text_ whose cells were given other texts since the last compaction
    std::string headerLayout_;
    std::vector<CellMark> marks_;    // empty, or rows x cols
    std::vector<int> columnWidths_;  // empty, or one per column
    std::vector<int> rowHeights_;    // empty, or one per row
    uint64_t layoutGeneration_ = 0;
};

}  // namespace scorvane
