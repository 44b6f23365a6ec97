#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scorvane {

// The limits every workbook reader keeps, so that a hostile file is refused before it costs much.
inline constexpr int64_t kMaxSheetCells = 1'000'000;               // cells held, gaps inside a row included
inline constexpr int64_t kMaxWorkbookBytes = 256LL * 1024 * 1024;  // unpacked archive members

// Which sheet of a workbook to read: by name when `name` is set, else the `index`-th (from 0).
struct SheetChoice {
    std::string name;
    int index = 0;
    // Read only the first `rowLimit` rows that hold something (0: the whole sheet), for a quick look at
    // a large sheet; the grid then says whether rows were left unread. Merged ranges, and in an
    // OpenDocument workbook the names of the sheets after the one read, may be missing from such a look.
    int rowLimit = 0;
    // Set from another thread to end a read early, the grid then partial (a window closed meanwhile).
    const std::atomic<bool>* stop = nullptr;

    // Whether reading should end before the row that holds `rowsRead` rows before it.
    bool enough(size_t rowsRead) const {
        return (rowLimit > 0 && rowsRead >= static_cast<size_t>(rowLimit)) ||
               (stop && stop->load(std::memory_order_relaxed));
    }
};

// One sheet as a reader sees it: the text of every cell, in the rows and columns of the sheet. Only
// rows with a non-empty cell are kept; a row's cells run from column A to its last non-empty cell.
struct SheetRow {
    int index = 0;       // the sheet's row, from 0
    uint32_t first = 0;  // its first cell among the grid's
    int width = 0;       // its cells
};

// The texts of all cells lie one after the other in one buffer: a sheet's cells are mostly short, and
// a string object apiece would cost several times their text.
struct SheetGrid {
    std::vector<std::string> sheetNames;  // every sheet of the workbook, in order
    int sheet = 0;                        // the one read
    std::vector<SheetRow> rows;           // in row order
    bool partial = false;                 // rows were left unread (SheetChoice::enough)

    // The text of the row's cell in that column ("" past its last cell).
    std::string_view cell(const SheetRow& row, int col) const {
        if (col < 0 || col >= row.width) {
            return {};
        }
        const Span& s = spans_[row.first + static_cast<size_t>(col)];
        return std::string_view(text_).substr(s.offset, s.length);
    }
    // The row's cells, every one.
    std::vector<std::string> texts(const SheetRow& row) const;

    // Stores a cell's text; empty texts are not stored. Rows and columns only grow (a reader sets the
    // cells of a sheet in its order). False when the grid would hold more than kMaxSheetCells cells.
    bool set(int row, int col, std::string_view text);
    // Empties the cells of a merged range but its top-left one. False when the merged ranges of a sheet
    // would together cost more work than a few passes over the largest grid (a hostile file).
    bool clearMerged(int top, int left, int bottom, int right);
    int64_t cellCount() const { return static_cast<int64_t>(spans_.size()); }
    // Adds the rows another reader read after this grid's (a sheet read in two halves), `rowOffset`
    // added to their indices. False, and nothing added, unless they all come after this grid's last
    // row and the cells stay within kMaxSheetCells.
    bool append(SheetGrid&& rest, int rowOffset);
    // Drops the rows and their cells; the sheet names stay.
    void releaseCells();
    // Room for about that many cells and bytes of text, where a reader knows them beforehand.
    void reserve(size_t cells, size_t bytes);

  private:
    struct Span {
        uint32_t offset = 0;
        uint32_t length = 0;
    };
    std::string text_;
    std::vector<Span> spans_;  // the cells of every row, row after row
    int64_t mergeWork_ = 0;
};

// Why a workbook was not read.
enum class SheetError {
    None,
    Format,        // not a workbook of its kind, damaged, encrypted, hostile, or over the limits
    MissingSheet,  // no sheet of that name or number
};

}  // namespace scorvane
