#include "main/workbook/sheet_append.h"

#include "common/utf8.h"
#include "main/exchange/table_import.h"
#include "main/formula/column_formulas.h"
#include "main/workbook/sheet_to_table.h"

namespace scorvane {
namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";

// The title without the blanks around it: spaces, tabs and the full-width space.
std::string_view trimBlanks(std::string_view text) {
    while (true) {
        if (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
            text.remove_prefix(1);
        } else if (text.rfind(kIdeographicSpace, 0) == 0) {
            text.remove_prefix(kIdeographicSpace.size());
        } else if (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
            text.remove_suffix(1);
        } else if (text.size() >= kIdeographicSpace.size() &&
                   text.substr(text.size() - kIdeographicSpace.size()) == kIdeographicSpace) {
            text.remove_suffix(kIdeographicSpace.size());
        } else {
            return text;
        }
    }
}

bool matchable(std::string_view title) {
    return !title.empty() && title != kSheetRowNumberTitle;
}

}  // namespace

SheetColumnMatch MatchSheetColumns(const GradeTable& table, const GradeTable& sheet) {
    SheetColumnMatch match;
    match.target.assign(static_cast<size_t>(std::max(sheet.cols(), 1)), 0);
    std::vector<bool> taken(static_cast<size_t>(std::max(table.cols(), 1)), false);
    const bool titled = table.rows() > 0;
    for (int s = 1; s < sheet.cols(); ++s) {
        const std::string_view title = trimBlanks(sheet.rows() > 0 ? sheet.cell(0, s) : CellText());
        int field = 0;
        for (int c = 1; titled && c < table.cols() && matchable(title); ++c) {
            if (trimBlanks(table.cell(0, c)) == title) {
                field = c;
                break;
            }
        }
        const std::string shown(title);
        if (field == 0) {
            match.lines.push_back(shown + "：表格中没有此字段，不导入");
        } else if (taken[static_cast<size_t>(field)]) {
            match.lines.push_back(shown + "：与前面的列同名，不导入");
        } else {
            taken[static_cast<size_t>(field)] = true;
            match.target[static_cast<size_t>(s)] = field;
            match.lines.push_back(shown + " → " + std::string(table.cell(0, field)));
            ++match.matched;
        }
    }
    const std::vector<std::string> formulas = ColumnFormulas(table);
    for (int c = 1; titled && c < table.cols(); ++c) {
        if (!taken[static_cast<size_t>(c)]) {
            const bool formula = !formulas[static_cast<size_t>(c)].empty();
            match.lines.push_back(
                std::string(table.cell(0, c)) +
                (formula ? "：电子表格中没有此字段，沿用该列的公式" : "：电子表格中没有此字段，留空"));
        }
    }
    return match;
}

int FirstAppendRow(const GradeTable& table) {
    int row = std::max(table.rows(), 1);
    while (row > 1) {
        bool empty = true;
        for (int c = 1; c < table.cols() && empty; ++c) {
            empty = IsBlank(table.cell(row - 1, c));
        }
        if (!empty) {
            break;
        }
        --row;
    }
    return row;
}

bool AppendSheetTable(Document& document, const GradeTable& sheet, Prompter& prompter) {
    GradeTable& table = document.table;
    const SheetColumnMatch match = MatchSheetColumns(table, sheet);
    if (match.matched == 0) {
        prompter.message(kNoCommonFieldMessage, "提示", Icon::Information);
        return false;
    }
    const int first = FirstAppendRow(table);
    const int students = std::max(sheet.rows() - 1, 0);
    const int64_t rows = std::max<int64_t>(table.rows(), static_cast<int64_t>(first) + students);
    if (rows > GradeTable::kMaxCount) {
        prompter.message(kImportTooLargeMessage, "提示", Icon::Information);
        return false;
    }
    const std::vector<std::string> formulas = ColumnFormulas(table);
    document.takeSnapshot();
    if (table.rows() < 1) {
        table.setRows(1);
    }
    table.setRows(static_cast<int>(rows));
    for (int r = 1; r <= students; ++r) {
        for (int s = 1; s < sheet.cols(); ++s) {
            if (const int field = match.target[static_cast<size_t>(s)]; field > 0) {
                table.setCell(first + r - 1, field, sheet.cell(r, s));
            }
        }
    }
    FillColumnFormulas(table, formulas, first, first + students - 1);
    table.renumber();
    if (students > 0) {
        document.setModified();
    }
    return true;
}

}  // namespace scorvane
