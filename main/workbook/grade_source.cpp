#include "main/workbook/grade_source.h"

#include "common/file_io.h"
#include "common/utf8.h"
#include "main/analysis/field_marks.h"
#include "main/document/data_file.h"
#include "main/exchange/csv_import.h"
#include "main/workbook/workbook_import.h"
#include "main/workspace/utilities.h"

namespace scorvane {
namespace {

// The file's name without its folder and its last extension.
std::string fileStem(const std::string& path) {
    std::string name = FileNameOfPath(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name;
}

std::string lowerExtension(const std::string& path) {
    const std::string name = FileNameOfPath(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : ToLowerAscii(name.substr(dot));
}

}  // namespace

GradeSourceKind GradeSourceKindOf(const std::string& path) {
    const std::string extension = lowerExtension(path);
    if (extension == ".csv" || extension == ".txt") {
        return GradeSourceKind::Text;
    }
    if (extension == kDataFileExtension) {
        return GradeSourceKind::DataFile;
    }
    return GradeSourceKind::Workbook;
}

GradeSource GradeSourceOfSheet(SheetTable&& sheet) {
    GradeSource out;
    out.message = std::move(sheet.message);
    if (!out.message.empty()) {
        return out;
    }
    out.table = std::move(sheet.table);
    out.titled = sheet.titleRow >= 0;
    out.lines.reserve(sheet.studentRows.size());
    for (const int row : sheet.studentRows) {
        out.lines.push_back(row + 1);
    }
    return out;
}

GradeSource GradeSourceOfText(std::string_view text, std::string_view fileName, int headerRow) {
    SheetGrid grid;
    grid.sheetNames.emplace_back(fileName);
    const std::vector<std::vector<std::string>> rows = ParseCsvRows(text);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            if (!grid.set(static_cast<int>(r), static_cast<int>(c), rows[r][c])) {
                GradeSource refused;
                refused.message = kFormatMessage;
                return refused;
            }
        }
    }
    return GradeSourceOfSheet(SheetToGradeTable(std::move(grid), headerRow));
}

GradeSource GradeSourceOfTable(const GradeTable& table) {
    GradeSource out;
    out.titled = true;
    std::vector<int> rows;
    for (int r = 1; r < table.rows(); ++r) {
        if (RowHoldsData(table, r)) {
            rows.push_back(r);
        }
    }
    GradeTable& t = out.table;
    t = GradeTable(static_cast<int>(rows.size()) + 1, table.cols());
    t.title = table.title;
    int col = 0;
    for (const std::string& title : table.fieldTitles()) {
        t.setCell(0, ++col, title);
    }
    for (size_t k = 0; k < rows.size(); ++k) {
        for (int c = 1; c < table.cols(); ++c) {
            t.setCell(static_cast<int>(k) + 1, c, ShownMark(table, rows[k], c));
        }
        out.lines.push_back(rows[k]);
    }
    t.renumber();
    t.setHeaderLayout(t.composeHeaderLayout(false));
    return out;
}

GradeSource ReadGradeSource(const std::string& path, const SheetChoice& choice, int headerRow) {
    GradeSource refused;
    if (!FileExists(path)) {
        refused.message = std::string(kMissingFileMessage) + path;
        return refused;
    }
    switch (GradeSourceKindOf(path)) {
        case GradeSourceKind::Text: {
            const std::optional<std::string> bytes = ReadWholeFile(path);
            if (!bytes) {
                refused.message = std::string(kCsvReadFailedMessage);
                return refused;
            }
            return GradeSourceOfText(DecodeCsvBytes(*bytes), fileStem(path), headerRow);
        }
        case GradeSourceKind::DataFile: {
            GradeTable table;
            if (!ReadDataFile(path, table)) {
                refused.message = std::string(kFormatMessage);
                return refused;
            }
            return GradeSourceOfTable(table);
        }
        case GradeSourceKind::Workbook:
            break;
    }
    SheetGrid grid;
    return GradeSourceOfSheet(ImportWorkbook(path, choice, headerRow, grid));
}

std::string OfferedTableName(const GradeSource& source, const std::string& path, std::string_view grade) {
    std::string_view name = source.titled ? std::string_view(source.table.title) : std::string_view();
    const std::string stem = fileStem(path);
    if (IsBlank(name)) {
        name = stem;
    }
    name = TrimBlanks(name);
    const std::string_view gradeName = TrimBlanks(grade);
    if (!gradeName.empty() && StartsWith(name, gradeName) && name.size() > gradeName.size()) {
        name = TrimBlanks(name.substr(gradeName.size()));
    }
    return std::string(name);
}

}  // namespace scorvane
