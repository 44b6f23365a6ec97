#include "main/printing/table_print.h"

#include <algorithm>
#include <cmath>

#include "common/fitted_text.h"
#include "common/text_lines.h"

namespace scorvane {
namespace {

const std::string kEmpty;

// Applies `fn` to the one index, or to every index below `count` when it is negative; false when the
// index lies outside [0, count).
template <typename Fn>
bool forEach(long index, long count, Fn fn) {
    if (index >= count) {
        return false;
    }
    if (index < 0) {
        for (long i = 0; i < count; ++i) {
            fn(i);
        }
    } else {
        fn(index);
    }
    return true;
}

// Whole rows that fit into `available`; a hair of rounding never costs a row.
long rowsThatFit(double available, double rowHeight) {
    if (available <= 0) {
        return 0;
    }
    return static_cast<long>(std::floor(available / rowHeight + 1e-9));
}

}  // namespace

clsTablePrint::clsTablePrint() : rows_(5), cols_(2), headerRows_(1) {
    resetArrays();
}

void clsTablePrint::resetArrays() {
    const size_t cells = static_cast<size_t>(rows_) * static_cast<size_t>(cols_);
    text_.assign(cells, std::string());
    font_.assign(cells, kNoFont);
    picture_.clear();
    headerText_.assign(static_cast<size_t>(headerRows_) * static_cast<size_t>(cols_), std::string());
    headerFont_.assign(headerText_.size(), kNoFont);
    footerText_.assign(hasFooter_ ? static_cast<size_t>(cols_) : 0, std::string());
    footerFont_.assign(footerText_.size(), kNoFont);
    colWidth_.assign(static_cast<size_t>(cols_), 15.0);
    colAlignment_.assign(static_cast<size_t>(cols_), 0);
    colFont_.assign(static_cast<size_t>(cols_), kNoFont);
    mergeRow_.assign(static_cast<size_t>(rows_), 0);
    mergeCol_.assign(static_cast<size_t>(cols_), 0);
    mergeHeaderRow_.assign(static_cast<size_t>(headerRows_), 0);
    mergeHeaderCol_.assign(static_cast<size_t>(cols_), 0);
    pageBreak_.assign(static_cast<size_t>(rows_), 0);
}

bool clsTablePrint::setRows(long rows) {
    if (rows < 0) {
        return false;
    }
    rows_ = rows;
    resetArrays();
    return true;
}

bool clsTablePrint::setCols(long cols) {
    if (cols < 1) {
        return false;
    }
    cols_ = cols;
    resetArrays();
    return true;
}

bool clsTablePrint::setHeaderRows(long rows) {
    if (rows < 1) {
        return false;
    }
    headerRows_ = rows;
    resetArrays();
    return true;
}

void clsTablePrint::setHasFooter(bool hasFooter) {
    hasFooter_ = hasFooter;
    footerText_.assign(hasFooter_ ? static_cast<size_t>(cols_) : 0, std::string());
    footerFont_.assign(footerText_.size(), kNoFont);
}

int32_t clsTablePrint::fontIndex(const SurfaceFont& font) {
    for (size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i] == font) {
            return static_cast<int32_t>(i);
        }
    }
    fonts_.push_back(font);
    return static_cast<int32_t>(fonts_.size() - 1);
}

bool clsTablePrint::setTextMatrix(long row, long col, std::string_view text) {
    if (row >= rows_ || col >= cols_) {
        return false;
    }
    return forEach(row, rows_,
                   [&](long r) { forEach(col, cols_, [&](long c) { text_[cellIndex(r, c)] = text; }); });
}

const std::string& clsTablePrint::TextMatrix(long row, long col) const {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
        return kEmpty;
    }
    return text_[cellIndex(row, col)];
}

bool clsTablePrint::setFontMatrix(long row, long col, const SurfaceFont& font) {
    if (row >= rows_ || col >= cols_) {
        return false;
    }
    const int32_t f = fontIndex(font);
    return forEach(row, rows_,
                   [&](long r) { forEach(col, cols_, [&](long c) { font_[cellIndex(r, c)] = f; }); });
}

bool clsTablePrint::setPictureMatrix(long row, long col, const CellPicture& picture) {
    if (row >= rows_ || col >= cols_) {
        return false;
    }
    if (picture_.empty()) {
        picture_.resize(text_.size());
    }
    return forEach(row, rows_, [&](long r) {
        forEach(col, cols_, [&](long c) { picture_[cellIndex(r, c)] = picture; });
    });
}

bool clsTablePrint::setHeaderText(long row, long col, std::string_view text) {
    if (row >= headerRows_ || col >= cols_) {
        return false;
    }
    return forEach(row, headerRows_, [&](long r) {
        forEach(col, cols_, [&](long c) { headerText_[cellIndex(r, c)] = text; });
    });
}

const std::string& clsTablePrint::HeaderText(long row, long col) const {
    if (row < 0 || row >= headerRows_ || col < 0 || col >= cols_) {
        return kEmpty;
    }
    return headerText_[cellIndex(row, col)];
}

bool clsTablePrint::setHeaderFont(long row, long col, const SurfaceFont& font) {
    if (row >= headerRows_ || col >= cols_) {
        return false;
    }
    const int32_t f = fontIndex(font);
    return forEach(row, headerRows_,
                   [&](long r) { forEach(col, cols_, [&](long c) { headerFont_[cellIndex(r, c)] = f; }); });
}

bool clsTablePrint::setFooterText(long col, std::string_view text) {
    if (!hasFooter_) {
        return false;
    }
    return forEach(col, cols_, [&](long c) { footerText_[static_cast<size_t>(c)] = text; });
}

const std::string& clsTablePrint::FooterText(long col) const {
    if (!hasFooter_ || col < 0 || col >= cols_) {
        return kEmpty;
    }
    return footerText_[static_cast<size_t>(col)];
}

bool clsTablePrint::setFooterFont(long col, const SurfaceFont& font) {
    if (!hasFooter_) {
        return false;
    }
    const int32_t f = fontIndex(font);
    return forEach(col, cols_, [&](long c) { footerFont_[static_cast<size_t>(c)] = f; });
}

int32_t clsTablePrint::bodyFontOf(long row, long col) const {
    int32_t f = font_[cellIndex(row, col)];
    return f != kNoFont ? f : colFont_[static_cast<size_t>(col)];
}

int32_t clsTablePrint::headerFontOf(long row, long col) const {
    int32_t f = headerFont_[cellIndex(row, col)];
    return f != kNoFont ? f : colFont_[static_cast<size_t>(col)];
}

const SurfaceFont* clsTablePrint::FontMatrix(long row, long col) const {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
        return nullptr;
    }
    int32_t f = bodyFontOf(row, col);
    return f == kNoFont ? nullptr : &fonts_[static_cast<size_t>(f)];
}

const SurfaceFont* clsTablePrint::HeaderFont(long row, long col) const {
    if (row < 0 || row >= headerRows_ || col < 0 || col >= cols_) {
        return nullptr;
    }
    int32_t f = headerFontOf(row, col);
    return f == kNoFont ? nullptr : &fonts_[static_cast<size_t>(f)];
}

bool clsTablePrint::setColWidth(long col, double width) {
    return forEach(col, cols_, [&](long c) { colWidth_[static_cast<size_t>(c)] = width; });
}

double clsTablePrint::ColWidth(long col) const {
    return col < 0 || col >= cols_ ? 0 : colWidth_[static_cast<size_t>(col)];
}

bool clsTablePrint::setColAlignment(long col, int alignment) {
    return forEach(col, cols_, [&](long c) { colAlignment_[static_cast<size_t>(c)] = alignment; });
}

int clsTablePrint::ColAlignment(long col) const {
    return col < 0 || col >= cols_ ? 0 : colAlignment_[static_cast<size_t>(col)];
}

bool clsTablePrint::setColFont(long col, const SurfaceFont& font) {
    const int32_t f = fontIndex(font);
    return forEach(col, cols_, [&](long c) { colFont_[static_cast<size_t>(c)] = f; });
}

bool clsTablePrint::setMergeRow(long row, bool merge) {
    return forEach(row, rows_, [&](long r) { mergeRow_[static_cast<size_t>(r)] = merge; });
}
bool clsTablePrint::setMergeCol(long col, bool merge) {
    return forEach(col, cols_, [&](long c) { mergeCol_[static_cast<size_t>(c)] = merge; });
}
bool clsTablePrint::setMergeHeaderRow(long row, bool merge) {
    return forEach(row, headerRows_, [&](long r) { mergeHeaderRow_[static_cast<size_t>(r)] = merge; });
}
bool clsTablePrint::setMergeHeaderCol(long col, bool merge) {
    return forEach(col, cols_, [&](long c) { mergeHeaderCol_[static_cast<size_t>(c)] = merge; });
}
bool clsTablePrint::MergeRow(long row) const {
    return row >= 0 && row < rows_ && mergeRow_[static_cast<size_t>(row)];
}
bool clsTablePrint::MergeCol(long col) const {
    return col >= 0 && col < cols_ && mergeCol_[static_cast<size_t>(col)];
}

bool clsTablePrint::setPageBreakBefore(long row, bool pageBreak) {
    return forEach(row, rows_, [&](long r) { pageBreak_[static_cast<size_t>(r)] = pageBreak; });
}
bool clsTablePrint::PageBreakBefore(long row) const {
    return row >= 0 && row < rows_ && pageBreak_[static_cast<size_t>(row)];
}

// ---- drawing

void clsTablePrint::selectFont(DrawingSurface& output, int32_t font) {
    if (font == selectedFont_) {
        return;
    }
    output.setFont(font == kNoFont ? outputFont_ : fonts_[static_cast<size_t>(font)]);
    selectedFont_ = font;
}

double clsTablePrint::lineHeightOf(DrawingSurface& output, int32_t font) {
    const size_t slot = static_cast<size_t>(font + 1);
    if (lineHeights_.size() <= slot) {
        lineHeights_.resize(fonts_.size() + 1, -1.0);
    }
    if (lineHeights_[slot] < 0) {
        selectFont(output, font);
        lineHeights_[slot] = output.textHeight("");
    }
    return lineHeights_[slot];
}

double clsTablePrint::sectionHeight(DrawingSurface& output, const std::vector<std::string>& texts,
                                    const std::vector<int32_t>& cellFonts, long cols, double minimum,
                                    const std::vector<CellPicture>* pictures) {
    // The tallest text of the section: per font, the most lines any of its cells holds.
    std::vector<size_t> mostLines(fonts_.size() + 1, 0);
    for (size_t i = 0; i < texts.size(); ++i) {
        int32_t f = cellFonts[i];
        if (f == kNoFont) {
            f = colFont_[i % static_cast<size_t>(cols)];
        }
        size_t& most = mostLines[static_cast<size_t>(f + 1)];
        most = std::max(most, CountTextLines(texts[i]));
    }
    double tallest = 0;
    for (size_t slot = 0; slot < mostLines.size(); ++slot) {
        if (mostLines[slot] > 0) {
            const int32_t font = static_cast<int32_t>(slot) - 1;
            tallest = std::max(tallest, static_cast<double>(mostLines[slot]) * lineHeightOf(output, font));
        }
    }
    if (pictures && ResizeCellsToPicHeight) {
        for (const CellPicture& p : *pictures) {
            if (!p.imageBytes.empty()) {
                tallest = std::max(tallest, p.height);
            }
        }
    }
    tallest = std::max(tallest, minimum - 2 * CellYOffset);
    // A row is never flat, so that paging always advances.
    return std::max(1.0, tallest + 2 * CellYOffset);
}

clsTablePrint::RowHeights clsTablePrint::MeasureRowHeights(DrawingSurface& output) {
    const SurfaceFont before = output.font();
    outputFont_ = before;
    selectedFont_ = kNoFont - 1;
    lineHeights_.assign(fonts_.size() + 1, -1.0);
    RowHeights h;
    h.header = sectionHeight(output, headerText_, headerFont_, cols_, HeaderRowHeightMin, nullptr);
    h.body = sectionHeight(output, text_, font_, cols_, RowHeightMin, &picture_);
    h.footer =
        hasFooter_ ? sectionHeight(output, footerText_, footerFont_, cols_, FooterRowHeightMin, nullptr) : 0;
    output.setFont(before);
    selectedFont_ = kNoFont - 1;
    return h;
}

void clsTablePrint::drawRow(DrawingSurface& output, double y, double height, const std::string* texts,
                            const int32_t* fonts, const CellPicture* pictures) {
    double x = MarginLeft;
    for (long c = 0; c < cols_; ++c) {
        const double w = colWidth_[static_cast<size_t>(c)];
        const std::string& text = texts[c];
        if (pictures && !pictures[c].imageBytes.empty()) {
            const CellPicture& p = pictures[c];
            output.drawPicture(p.imageBytes, x + CellXOffset, y + CellYOffset,
                               std::min(p.width, std::max(0.0, w - 2 * CellXOffset)),
                               std::min(p.height, std::max(0.0, height - 2 * CellYOffset)));
        }
        if (!text.empty()) {
            int32_t f = fonts[c];
            if (f == kNoFont) {
                f = colFont_[static_cast<size_t>(c)];
            }
            selectFont(output, f);
            const int align = colAlignment_[static_cast<size_t>(c)];
            const TextAlign textAlign = align == 1   ? TextAlign::Center
                                        : align == 2 ? TextAlign::Right
                                                     : TextAlign::Left;
            const double room = w - 2 * CellXOffset;
            const double textWidth = output.textWidth(text);
            if (textWidth <= room) {
                const double textHeight = static_cast<double>(CountTextLines(text)) * lineHeightOf(output, f);
                const double top = y + (height - textHeight) / 2;
                output.drawTextInRect(x + CellXOffset, top, x + w - CellXOffset, top + textHeight, text,
                                      textAlign);
            } else {
                // The whole text in a smaller size, or cut with "…", or a number as "#" marks.
                const FittedText fitted = FitText(output, text, room, textWidth);
                SurfaceFont font = output.font();
                font.size = fitted.size;
                output.setFont(font);
                selectedFont_ = kNoFont - 1;
                const double textHeight = output.textHeight(fitted.text);
                const double top = y + (height - textHeight) / 2;
                output.drawTextInRect(x + CellXOffset, top, x + w - CellXOffset, top + textHeight,
                                      fitted.text, textAlign);
            }
        }
        x += w;
    }
}

// A border around every cell of a block of rows: the rules between rows and between columns.
void clsTablePrint::drawRules(DrawingSurface& output, double top, long rowCount, double rowHeight,
                              int thickness) {
    if (!DrawRules || rowCount <= 0) {
        return;
    }
    output.setLineWidth(thickness);
    double right = MarginLeft;
    for (double w : colWidth_) {
        right += w;
    }
    const double bottom = top + static_cast<double>(rowCount) * rowHeight;
    for (long r = 0; r <= rowCount; ++r) {
        const double y = top + static_cast<double>(r) * rowHeight;
        output.drawLine(MarginLeft, y, right, y, kBlack);
    }
    double x = MarginLeft;
    output.drawLine(x, top, x, bottom, kBlack);
    for (double w : colWidth_) {
        x += w;
        output.drawLine(x, top, x, bottom, kBlack);
    }
}

clsTablePrint::DrawResult clsTablePrint::DrawTable(DrawingSurface& output, long rowToStart, long startPage) {
    const int lineWidthBefore = output.lineWidth();
    const RowHeights h = MeasureRowHeights(output);
    outputFont_ = output.font();
    selectedFont_ = kNoFont - 1;

    DrawResult result;
    result.lastPage = startPage;
    long row = std::max(0L, rowToStart);
    bool firstPage = true;
    bool freshPage = false;
    while (true) {
        const bool withHeader = PrintHeaderOnEveryPage || firstPage;
        const double headerBlock = withHeader ? static_cast<double>(headerRows_) * h.header : 0;
        double available = output.height() - output.currentY() - MarginBottom - headerBlock;
        const long remaining = std::max(0L, rows_ - row);
        long count = std::min(remaining, rowsThatFit(available, h.body));
        if (hasFooter_ && row + count >= rows_) {
            count = std::min(remaining, rowsThatFit(available - h.footer, h.body));
        }
        // A row that begins a page of its own ends this one.
        for (long r = row + 1; r < row + count; ++r) {
            if (pageBreak_[static_cast<size_t>(r)]) {
                count = r - row;
                break;
            }
        }
        // A page that holds nothing else takes at least one row, however tall, so paging always ends.
        if (count == 0 && remaining > 0 && freshPage) {
            count = 1;
        }

        double y = output.currentY();
        if (withHeader) {
            for (long r = 0; r < headerRows_; ++r) {
                drawRow(output, y + static_cast<double>(r) * h.header, h.header,
                        &headerText_[cellIndex(r, 0)], &headerFont_[cellIndex(r, 0)], nullptr);
            }
            drawRules(output, y, headerRows_, h.header, HeaderLineThickness);
            y += headerBlock;
        }
        for (long r = 0; r < count; ++r) {
            const size_t at = cellIndex(row + r, 0);
            drawRow(output, y + static_cast<double>(r) * h.body, h.body, &text_[at], &font_[at],
                    picture_.empty() ? nullptr : &picture_[at]);
        }
        drawRules(output, y, count, h.body, LineThickness);
        y += static_cast<double>(count) * h.body;
        row += count;
        if (count > 0) {
            result.lastPrintedRow = row - 1;
        }
        if (row >= rows_ && hasFooter_) {
            drawRow(output, y, h.footer, footerText_.data(), footerFont_.data(), nullptr);
            drawRules(output, y, 1, h.footer, FooterLineThickness);
            y += h.footer;
        }
        output.setCurrentX(0);
        output.setCurrentY(y);
        if (row >= rows_) {
            result.completed = true;
            break;
        }

        bool topMarginAlreadySet = false;
        bool cancel = false;
        if (NewPage) {
            NewPage(output, topMarginAlreadySet, cancel, result.lastPrintedRow);
        } else {
            cancel = !output.newPage();
        }
        if (cancel) {
            break;
        }
        if (!topMarginAlreadySet) {
            output.setCurrentY(MarginTop);
        }
        ++result.lastPage;
        firstPage = false;
        freshPage = true;
    }
    output.setFont(outputFont_);
    output.setLineWidth(lineWidthBefore);
    selectedFont_ = kNoFont - 1;
    return result;
}

long clsTablePrint::CalcNumRowsPerPage(DrawingSurface& output, bool withHeader, bool withFooter) {
    const RowHeights h = MeasureRowHeights(output);
    double available = output.height() - MarginTop - MarginBottom;
    if (withHeader) {
        available -= static_cast<double>(headerRows_) * h.header;
    }
    if (withFooter) {
        available -= h.footer;
    }
    return rowsThatFit(available, h.body);
}

}  // namespace scorvane
