#include "main/workbook/workbook_export.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "common/file_io.h"
#include "common/utf8.h"
#include "main/formula/formula_cell.h"
#include "main/workbook/workbook_export_cell.h"
#include "main/workbook/workbook_export_rows_deflater.h"

namespace scorvane {

std::string WorkbookSheetName(const std::string& title) {
    std::string name;
    size_t characters = 0;
    for (size_t i = 0; i < title.size() && characters < 31;) {
        size_t length = 1;
        const auto lead = static_cast<unsigned char>(title[i]);
        length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::string ch = title.substr(i, length);
        if (ch.size() == 1 && std::string_view("[]:*?/\\").find(ch[0]) != std::string_view::npos) {
            ch = "_";
        }
        name += ch;
        ++characters;
        i += length;
    }
    while (!name.empty() && name.front() == '\'') {
        name.erase(name.begin());
    }
    while (!name.empty() && name.back() == '\'') {
        name.pop_back();
    }
    return TrimSpaces(name).empty() ? std::string("成绩表") : name;
}

namespace {

// A column's width in the spreadsheet's character units: its widest text, a Chinese character
// counting two.
double textWidth(std::string_view text) {
    double width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            width += 1;
        } else if (c >= 0xC0) {
            width += 2;
        }
    }
    return width;
}

// The sheet's cells worked out on a thread of their own, a batch of rows ahead of the library that writes
// them: translating and computing the formulas and writing the sheet's text then run side by side on two
// processors. The cells are worked out in the same order as before (row by row, left to right), so the
// evaluator's previous result is what it always was when each formula is computed.
class CellsAhead {
  public:
    explicit CellsAhead(const GradeTable& table)
        : table_(table), rows_(table.rows()), cols_(table.cols()), worker_([this] { work(); }) {}

    ~CellsAhead() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
        worker_.join();
    }

    // The next batch of rows' cells (kBatchRows rows of cols() cells, fewer at the end), row after row.
    std::vector<SheetCell> next() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !ready_.empty() || failure_; });
        if (ready_.empty()) {
            std::rethrow_exception(failure_);
        }
        std::vector<SheetCell> batch = std::move(ready_.front());
        ready_.pop_front();
        changed_.notify_all();
        return batch;
    }

    static constexpr int kBatchRows = 256;

  private:
    static constexpr size_t kBatchesAhead = 4;

    void work() {
        try {
            for (int first = 0; first < rows_; first += kBatchRows) {
                std::vector<SheetCell> batch;
                const int last = std::min(rows_, first + kBatchRows);
                batch.reserve(static_cast<size_t>(last - first) * static_cast<size_t>(cols_));
                for (int r = first; r < last; ++r) {
                    for (int c = 0; c < cols_; ++c) {
                        batch.push_back(SheetCellOf(table_, r, c));
                    }
                }
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return ready_.size() < kBatchesAhead || stopped_; });
                if (stopped_) {
                    return;
                }
                ready_.push_back(std::move(batch));
                changed_.notify_all();
            }
        } catch (...) {
            std::lock_guard lock(mutex_);
            failure_ = std::current_exception();
            changed_.notify_all();
        }
    }

    const GradeTable& table_;
    const int rows_;
    const int cols_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<SheetCell>> ready_;
    std::exception_ptr failure_;
    bool stopped_ = false;
    std::thread worker_;  // last: it starts once everything it uses is there
};

struct Workbook {
    lxw_workbook* book = nullptr;
    ~Workbook() {
        if (book) {
            workbook_close(book);
        }
    }
};

bool writeWorkbook(const GradeTable& table, const std::string& path) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    SheetRowsDeflater rowsDeflater;  // outlives the workbook's close, which stores the rows
    Workbook wb;
    wb.book = workbook_new_opt(path.c_str(), &options);
    if (!wb.book) {
        return false;
    }
    lxw_doc_properties properties{};
    properties.title = const_cast<char*>(table.title.c_str());
    properties.author = const_cast<char*>(table.teacher.c_str());
    properties.comments = const_cast<char*>(table.classInfo.c_str());
    workbook_set_properties(wb.book, &properties);

    lxw_worksheet* sheet = workbook_add_worksheet(wb.book, WorkbookSheetName(table.title).c_str());
    lxw_format* titleFormat = workbook_add_format(wb.book);
    format_set_bold(titleFormat);
    format_set_font_size(titleFormat, 14);
    lxw_format* headerFormat = workbook_add_format(wb.book);
    format_set_bold(headerFormat);
    format_set_bottom(headerFormat, LXW_BORDER_THIN);
    lxw_format* formulaFormat = nullptr;
    if (std::string numberFormat = SheetFormulaFormat(table.dataFormat); !numberFormat.empty()) {
        formulaFormat = workbook_add_format(wb.book);
        format_set_num_format(formulaFormat, numberFormat.c_str());
    }
    if (!sheet) {
        return false;
    }
    // The numbers' own formats, each made once.
    std::vector<std::pair<std::string, lxw_format*>> numberFormats;
    auto numberFormat = [&](const std::string& text) -> lxw_format* {
        if (text.empty()) {
            return nullptr;
        }
        for (const auto& [known, format] : numberFormats) {
            if (known == text) {
                return format;
            }
        }
        lxw_format* format = workbook_add_format(wb.book);
        format_set_num_format(format, text.c_str());
        numberFormats.emplace_back(text, format);
        return format;
    };
    rowsDeflater.attach(sheet);  // without it the library deflates the rows when the workbook is closed

    CellsAhead cells(table);  // starts on the first rows while the columns are measured
    const int rows = table.rows();
    const int cols = table.cols();
    for (int c = 0; c < cols; ++c) {
        double width = 6;
        for (int r = 0; r < rows; ++r) {
            const std::string_view text = table.cell(r, c);
            if (!IsFormula(text)) {  // formula cells show values of about their fields' width
                width = std::max(width, textWidth(text));
            }
        }
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             std::min(width + 1, 60.0), nullptr);
    }
    worksheet_freeze_panes(sheet, 2, 1);

    lxw_error error = worksheet_write_string(sheet, 0, 0, table.title.c_str(), titleFormat);
    std::vector<SheetCell> batch;
    for (int r = 0; r < rows && error == LXW_NO_ERROR; ++r) {
        if (r % CellsAhead::kBatchRows == 0) {
            batch = cells.next();
        }
        const auto sheetRow = static_cast<lxw_row_t>(r + 1);
        const size_t rowStart = static_cast<size_t>(r % CellsAhead::kBatchRows) * static_cast<size_t>(cols);
        for (int c = 0; c < cols && error == LXW_NO_ERROR; ++c) {
            const auto sheetCol = static_cast<lxw_col_t>(c);
            const SheetCell& cell = batch[rowStart + static_cast<size_t>(c)];
            lxw_format* format = r == 0 ? headerFormat : nullptr;
            switch (cell.kind) {
                case SheetCell::Kind::Blank:
                    if (format) {
                        error = worksheet_write_blank(sheet, sheetRow, sheetCol, format);
                    }
                    break;
                case SheetCell::Kind::Number:
                    error = worksheet_write_number(sheet, sheetRow, sheetCol, cell.number,
                                                   format ? format : numberFormat(cell.numberFormat));
                    break;
                case SheetCell::Kind::Text:
                    error = worksheet_write_string(sheet, sheetRow, sheetCol, cell.text.c_str(), format);
                    break;
                case SheetCell::Kind::Formula:
                    error = worksheet_write_formula_num(sheet, sheetRow, sheetCol, cell.text.c_str(),
                                                        formulaFormat, cell.number);
                    break;
            }
        }
    }
    lxw_workbook* book = std::exchange(wb.book, nullptr);
    return workbook_close(book) == LXW_NO_ERROR && error == LXW_NO_ERROR;
}

}  // namespace

bool ExportWorkbook(const GradeTable& table, const std::string& path) {
    // The library writes the workbook into the atomic writer's temporary file, which then replaces the
    // target as every other save does (a failed or killed export leaves any former file whole, a
    // symbolic link is written through).
    AtomicFileWriter writer(path);
    return writer.ok() && writeWorkbook(table, writer.temporaryPath()) && writer.commit();
}

}  // namespace scorvane
