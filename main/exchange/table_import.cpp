#include "main/exchange/table_import.h"

#include <algorithm>

#include "common/file_io.h"
#include "common/utf8.h"
#include "main/document/data_file.h"
#include "main/document/status_scope.h"
#include "main/formula/column_formulas.h"

namespace scorvane {
namespace {

// True when a field of the row holds more than blanks (column 0 holds only the row's number).
bool rowHoldsData(const GradeTable& table, int row) {
    for (int c = 1; c < table.cols(); ++c) {
        if (!IsBlank(table.cell(row, c))) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool AppendTable(Document& document, const GradeTable& source) {
    GradeTable& table = document.table;
    if (&source == &table) {
        const GradeTable copy = source;
        return AppendTable(document, copy);
    }
    if (source.rows() < 1) {
        return true;
    }
    // A table keeps at least its title row.
    const int oldRows = std::max(table.rows(), 1);
    const int cols = table.cols();
    const long long newRows = static_cast<long long>(oldRows) + source.rows() - 1;
    if (newRows > GradeTable::kMaxCount) {
        return false;
    }
    table.setRows(oldRows);
    // The fields every student's row computes alike, as they were before.
    const std::vector<std::string> formulas = ColumnFormulas(table);
    // The titles are compared against as they were before anything is written.
    std::vector<std::string> titles;
    for (int c = 0; c < cols; ++c) {
        titles.emplace_back(table.cell(0, c));
    }
    table.setRows(static_cast<int>(newRows));
    bool changed = newRows != oldRows;
    bool titlesChanged = false;

    // The source's cells in their flat order fill the table's rows from the last old one on. Its title
    // row falls on that row only when it holds no student's data: a row that holds any keeps it.
    const int firstRow = oldRows - 1;
    const bool keepFirstRow = firstRow > 0 && rowHoldsData(table, firstRow);
    const int64_t count = static_cast<int64_t>(source.rows()) * source.cols();
    int64_t k = 0;
    for (int r = firstRow; r < newRows; ++r) {
        for (int c = 0; c < cols; ++c, ++k) {
            if (k >= count) {
                break;
            }
            if (r == firstRow && keepFirstRow) {
                continue;
            }
            const CellText v = source.cellAt(k);
            if (v == titles[static_cast<size_t>(c)]) {
                continue;
            }
            if (table.cell(r, c) != v) {
                table.setCell(r, c, v);
                changed = true;
                titlesChanged = titlesChanged || r == 0;
            }
        }
    }
    // The source's students (its data rows, from the row after its title row on) get the table's column
    // formulas where they left the field blank.
    changed = FillColumnFormulas(table, formulas, firstRow + 1, static_cast<int>(newRows) - 1) > 0 || changed;
    table.renumber();
    if (titlesChanged) {
        table.setHeaderLayout(table.composeHeaderLayout(false));
    }
    if (changed) {
        document.setModified();
    }
    return true;
}

ImportOutcome ImpData(Document& document, std::string_view file, Prompter& prompter, StatusSink& status) {
    StatusScope busy(status, kStatusImporting);
    if (TrimSpaces(file).empty()) {
        return ImportOutcome::NoFile;
    }
    const std::string path = DataFileOf(std::string(file));
    if (!FileExists(path)) {
        return ImportOutcome::NoFile;
    }
    GradeTable source;
    if (!ReadDataFile(path, source)) {
        prompter.message(kFormatMessage, "提示", Icon::Information);
        return ImportOutcome::Refused;
    }
    if (!AppendTable(document, source)) {
        prompter.message(kImportTooLargeMessage, "提示", Icon::Information);
        return ImportOutcome::TooLarge;
    }
    return ImportOutcome::Imported;
}

ImportOutcome menuImportAll(Document& document, Prompter& prompter, StatusSink& status) {
    prompter.message(kImportAllWarning, "提示", Icon::Information);
    std::string path = prompter.openFile("*.skv", kImportTableTitle);
    if (path.empty()) {
        return ImportOutcome::Cancelled;
    }
    document.takeSnapshot();
    // The chosen name without its extension.
    if (path.size() >= 4) {
        path.resize(path.size() - 4);
    }
    return ImpData(document, path, prompter, status);
}

}  // namespace scorvane
