#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/drawing_surface.h"

namespace scorvane {

// A picture inside a body cell: encoded image bytes and the size to paint it at, in twips.
struct CellPicture {
    std::string imageBytes;
    double width = 0;
    double height = 0;
};

// The table print engine: a self-contained copy of a table to print (header rows, body rows, an
// optional footer row, texts, fonts, pictures, column widths and alignments) and the layout settings,
// drawn as a ruled table with DrawTable, page after page. The engine never starts or ends a job: at each
// page break it calls NewPage and lets its owner start the next page.
//
// Indexes start at 0. A negative row or column given to a setter addresses every row or column at once.
// Setting Rows, Cols or HeaderRows re-creates every per-cell and per-column array empty (widths 15), so
// they are set first and the contents afterwards. A count out of range (Rows < 0, Cols < 1,
// HeaderRows < 1) or an index outside the arrays is refused: the setter returns false and changes nothing.
class clsTablePrint {
  public:
    // NewPage(output, topMarginAlreadySet, cancel, lastPrintedRow): the current page is full and rows
    // remain. The handler starts the next page on `output`; it sets `topMarginAlreadySet` when it placed
    // the current position itself, `cancel` to stop drawing. Without a handler the engine calls
    // output.newPage() and stops when that fails.
    using NewPageHandler = std::function<void(DrawingSurface& output, bool& topMarginAlreadySet, bool& cancel,
                                              long lastPrintedRow)>;

    clsTablePrint();

    // ---- counts
    long Rows() const { return rows_; }
    long Cols() const { return cols_; }
    long HeaderRows() const { return headerRows_; }
    bool HasFooter() const { return hasFooter_; }
    bool setRows(long rows);
    bool setCols(long cols);
    bool setHeaderRows(long rows);
    void setHasFooter(bool hasFooter);

    // ---- cells
    bool setTextMatrix(long row, long col, std::string_view text);
    const std::string& TextMatrix(long row, long col) const;
    bool setFontMatrix(long row, long col, const SurfaceFont& font);
    bool setPictureMatrix(long row, long col, const CellPicture& picture);
    bool setHeaderText(long row, long col, std::string_view text);
    const std::string& HeaderText(long row, long col) const;
    bool setHeaderFont(long row, long col, const SurfaceFont& font);
    bool setFooterText(long col, std::string_view text);
    const std::string& FooterText(long col) const;
    bool setFooterFont(long col, const SurfaceFont& font);
    // The font a cell is drawn in: its own, else its column's, else none (the output's font).
    const SurfaceFont* FontMatrix(long row, long col) const;
    const SurfaceFont* HeaderFont(long row, long col) const;

    // ---- columns
    bool setColWidth(long col, double width);
    double ColWidth(long col) const;
    // 0 left, 1 centre, 2 right
    bool setColAlignment(long col, int alignment);
    int ColAlignment(long col) const;
    bool setColFont(long col, const SurfaceFont& font);

    // ---- merge flags, carried over from the grid; every cell prints separately
    bool setMergeRow(long row, bool merge);
    bool setMergeCol(long col, bool merge);
    bool setMergeHeaderRow(long row, bool merge);
    bool setMergeHeaderCol(long col, bool merge);
    bool MergeRow(long row) const;
    bool MergeCol(long col) const;

    // ---- a body row that begins a new page (set after Rows; row 0 begins the first page anyway)
    bool setPageBreakBefore(long row, bool pageBreak);
    bool PageBreakBefore(long row) const;

    // ---- layout, in twips unless said
    double MarginLeft = 0;
    double MarginTop = 0;
    double MarginBottom = 0;
    double CellXOffset = 0;  // inner padding left and right
    double CellYOffset = 0;  // inner padding top and bottom
    int LineThickness = 1;   // pen widths, device pixels
    int HeaderLineThickness = 1;
    int FooterLineThickness = 1;
    double RowHeightMin = 0;
    double HeaderRowHeightMin = 0;
    double FooterRowHeightMin = 0;
    bool PrintHeaderOnEveryPage = false;
    bool CenterMergedHeader = false;
    bool ResizeCellsToPicHeight = false;
    // The print set-up's "表格划线": a border around every drawn cell.
    bool DrawRules = true;

    NewPageHandler NewPage;

    struct DrawResult {
        bool completed = false;    // every row was drawn (false: the owner cancelled)
        long lastPrintedRow = -1;  // the last body row drawn
        long lastPage = 0;         // the number of the page drawn last
    };

    // Draws the body rows from `rowToStart` (0 = the first body row) onward, starting at the output's
    // current vertical position and numbering pages from `startPage`; a row with a page break before it
    // (other than the first row drawn) begins a new page. Row heights are measured once,
    // before the first page: every body row is as high as the tallest body cell (every header row as the
    // tallest header cell, the footer likewise), at least the minimum, plus the padding above and below.
    // A text wider than its cell (less the padding) prints whole in a smaller size of its font, and
    // only below 5 points cut with "…", a number as "#" marks (FitText); a text that fits prints as it is.
    DrawResult DrawTable(DrawingSurface& output, long rowToStart, long startPage);

    // The whole number of body rows that fit on one page of the output.
    long CalcNumRowsPerPage(DrawingSurface& output, bool withHeader, bool withFooter);

    // The heights DrawTable uses for the output (measured in the cells' fonts).
    struct RowHeights {
        double header = 0;
        double body = 0;
        double footer = 0;
    };
    RowHeights MeasureRowHeights(DrawingSurface& output);

  private:
    static constexpr int32_t kNoFont = -1;

    int32_t fontIndex(const SurfaceFont& font);
    size_t cellIndex(long row, long col) const {
        return static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col);
    }
    int32_t bodyFontOf(long row, long col) const;
    int32_t headerFontOf(long row, long col) const;
    void resetArrays();

    // Row heights of one section, as DrawTable measures them, with the line height of every font used.
    double sectionHeight(DrawingSurface& output, const std::vector<std::string>& texts,
                         const std::vector<int32_t>& cellFonts, long cols, double minimum,
                         const std::vector<CellPicture>* pictures);
    double lineHeightOf(DrawingSurface& output, int32_t font);
    void selectFont(DrawingSurface& output, int32_t font);

    // Draws one section row at y; `texts` and `fonts` hold a row of `cols_` cells starting at `first`.
    void drawRow(DrawingSurface& output, double y, double height, const std::string* texts,
                 const int32_t* fonts, const CellPicture* pictures);
    void drawRules(DrawingSurface& output, double top, long rowCount, double rowHeight, int thickness);

    long rows_ = 0;
    long cols_ = 0;
    long headerRows_ = 0;
    bool hasFooter_ = true;

    std::vector<std::string> text_;        // rows x cols
    std::vector<int32_t> font_;            // rows x cols, font table index or kNoFont
    std::vector<CellPicture> picture_;     // empty, or rows x cols
    std::vector<std::string> headerText_;  // headerRows x cols
    std::vector<int32_t> headerFont_;
    std::vector<std::string> footerText_;  // cols, while hasFooter_
    std::vector<int32_t> footerFont_;
    std::vector<double> colWidth_;
    std::vector<int> colAlignment_;
    std::vector<int32_t> colFont_;
    std::vector<char> mergeRow_, mergeCol_, mergeHeaderRow_, mergeHeaderCol_;
    std::vector<char> pageBreak_;  // rows

    std::vector<SurfaceFont> fonts_;  // every distinct font set, shared by the cells
    // While drawing: the output's font at the start, the font selected now, each font's line height.
    SurfaceFont outputFont_;
    int32_t selectedFont_ = kNoFont - 1;
    std::vector<double> lineHeights_;
};

}  // namespace scorvane
