#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "common/utf8.h"
#include "main/document/data_file.h"
#include "main/exchange/sheet_cell.h"
#include "main/formula/formula_cell.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage = "xlsx TABLE.skv -o OUT.xlsx";

// A sheet name from the title: no []:*?/\, no apostrophe at either end, at most 31 characters.
std::string sheetName(const std::string& title) {
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

// A column's width in the spreadsheet's character units: its widest text, a Chinese character
// counting two.
double textWidth(const std::string& text) {
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

    lxw_worksheet* sheet = workbook_add_worksheet(wb.book, sheetName(table.title).c_str());
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

    const int rows = table.rows();
    const int cols = table.cols();
    for (int c = 0; c < cols; ++c) {
        double width = 6;
        for (int r = 0; r < rows; ++r) {
            const std::string& text = table.cell(r, c);
            if (!IsFormula(text)) {  // formula cells show values of about their fields' width
                width = std::max(width, textWidth(text));
            }
        }
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             std::min(width + 1, 60.0), nullptr);
    }
    worksheet_freeze_panes(sheet, 2, 1);

    lxw_error error = worksheet_write_string(sheet, 0, 0, table.title.c_str(), titleFormat);
    for (int r = 0; r < rows && error == LXW_NO_ERROR; ++r) {
        const auto sheetRow = static_cast<lxw_row_t>(r + 1);
        for (int c = 0; c < cols && error == LXW_NO_ERROR; ++c) {
            const auto sheetCol = static_cast<lxw_col_t>(c);
            const SheetCell cell = SheetCellOf(table, r, c);
            lxw_format* format = r == 0 ? headerFormat : nullptr;
            switch (cell.kind) {
                case SheetCell::Kind::Blank:
                    if (format) {
                        error = worksheet_write_blank(sheet, sheetRow, sheetCol, format);
                    }
                    break;
                case SheetCell::Kind::Number:
                    error = worksheet_write_number(sheet, sheetRow, sheetCol, cell.number, format);
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

int runXlsx(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o")) {
        return UsageError(kUsage);
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    // Written beside the target under a temporary name and renamed over it, so a failed export
    // leaves any former file whole.
    namespace fs = std::filesystem;
    const fs::path target(args.value("-o"));
    std::error_code ec;
    fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    fs::create_directories(folder, ec);
    const fs::path temporary = folder / (".xlsx-" + std::to_string(::getpid()) + ".tmp");
    if (!writeWorkbook(document.table, temporary.string()) || (fs::rename(temporary, target, ec), ec)) {
        fs::remove(temporary, ec);
        std::cerr << kSaveFailedMessage << "\n";
        return 1;
    }
    return 0;
}

CliRegistrar registrar({"xlsx",
                        kUsage,
                        "保存为 Excel 工作簿（.xlsx）：标题、加粗冻结的字段行、数字写为数值，"
                        "公式写为电子表格公式并带有计算结果（无法转换的公式写出其结果）",
                        {"-o"},
                        {},
                        runXlsx,
                        61});

}  // namespace
}  // namespace scorvane::cli
