#include "main/workbook/sheet_to_table.h"

#include <algorithm>
#include <string>
#include <type_traits>

#include "common/utf8.h"

namespace scorvane {
namespace {

constexpr int kMaxEntries = GradeTable::kMaxCount - 1;

// The rule of SheetToGradeTable; a grid that is not const is emptied once the table holds its cells.
template <typename Grid>
SheetTable toGradeTable(Grid& grid, int headerRow) {
    constexpr bool take = !std::is_const_v<Grid>;
    SheetTable out;
    const std::vector<SheetRow>& rows = grid.rows;
    auto filledCells = [&grid](const SheetRow& row) {
        int n = 0;
        for (int c = 0; c < row.width; ++c) {
            n += IsBlank(grid.cell(row, c)) ? 0 : 1;
        }
        return n;
    };
    auto cellOf = [&grid](const SheetRow& row, int col) { return grid.cell(row, col); };

    // The header row: its position among the stored rows (rows.size() when the sheet has none there).
    size_t header = rows.size();
    if (headerRow >= 0) {
        header = static_cast<size_t>(std::lower_bound(rows.begin(), rows.end(), headerRow,
                                                      [](const SheetRow& r, int i) { return r.index < i; }) -
                                     rows.begin());
        out.headerRow = headerRow;
    } else {
        for (size_t i = 0; i < rows.size() && header == rows.size(); ++i) {
            if (filledCells(rows[i]) >= 2) {
                header = i;
            }
        }
        for (size_t i = 0; i < rows.size() && header == rows.size(); ++i) {
            if (filledCells(rows[i]) >= 1) {
                header = i;
            }
        }
        out.headerRow = header < rows.size() ? rows[header].index : -1;
    }
    const bool headerStored = header < rows.size() && rows[header].index == out.headerRow;
    static const SheetRow kNoRow;
    const SheetRow& headerCells = headerStored ? rows[header] : kNoRow;

    // The title.
    std::string title = grid.sheet >= 0 && grid.sheet < static_cast<int>(grid.sheetNames.size())
                            ? grid.sheetNames[static_cast<size_t>(grid.sheet)]
                            : std::string();
    for (size_t i = 0; i < header; ++i) {
        if (filledCells(rows[i]) == 1) {
            for (int c = 0; c < rows[i].width; ++c) {
                if (!IsBlank(grid.cell(rows[i], c))) {
                    title = grid.cell(rows[i], c);
                }
            }
            out.titleRow = rows[i].index;
            break;
        }
    }

    // The students and the columns they and the header use.
    std::vector<const SheetRow*> students;
    for (size_t i = headerStored ? header + 1 : header; i < rows.size(); ++i) {
        if (filledCells(rows[i]) > 0) {
            students.push_back(&rows[i]);
        }
    }
    int left = -1;
    int right = -1;
    auto span = [&left, &right, &grid](const SheetRow& row) {
        for (int c = 0; c < row.width; ++c) {
            if (!IsBlank(grid.cell(row, c))) {
                left = left < 0 ? c : std::min(left, c);
                right = std::max(right, c);
            }
        }
    };
    span(headerCells);
    for (const SheetRow* row : students) {
        span(*row);
    }
    if (students.size() > static_cast<size_t>(kMaxEntries)) {
        out.message = kSheetRowsMessage;
        return out;
    }

    // The row numbering column.
    if (left >= 0 && !students.empty()) {
        const std::string_view first = TrimSpaces(cellOf(headerCells, left));
        bool numbers = first.empty() || first == kSheetRowNumberTitle;
        for (size_t k = 0; k < students.size() && numbers; ++k) {
            numbers = TrimSpaces(cellOf(*students[k], left)) == std::to_string(k + 1);
        }
        if (numbers) {
            out.rowNumbers = true;
            ++left;
        }
    }
    const int fields = left >= 0 && right >= left ? right - left + 1 : 0;
    if (fields > kMaxEntries) {
        out.message = kSheetFieldsMessage;
        return out;
    }

    GradeTable& table = out.table;
    table.resize(static_cast<int>(students.size()) + 1, fields + 1);
    table.title = title;
    table.setCell(0, 0, "  ");
    for (int f = 0; f < fields; ++f) {
        const int col = left + f;
        const std::string_view t = cellOf(headerCells, col);
        table.setCell(0, f + 1,
                      IsBlank(t) ? std::string(kSheetFieldPrefix) + std::to_string(col + 1) : std::string(t));
    }
    out.studentRows.reserve(students.size());
    for (size_t k = 0; k < students.size(); ++k) {
        const SheetRow& row = *students[k];
        const int r = static_cast<int>(k) + 1;
        out.studentRows.push_back(row.index);
        const int end = std::min(left + fields, row.width);
        for (int col = std::max(left, 0); col < end; ++col) {
            const std::string_view v = grid.cell(row, col);
            if (!v.empty()) {
                table.setCell(r, col - left + 1, v);
            }
        }
    }
    if constexpr (take) {
        grid.releaseCells();  // the sheet is not held twice over longer than it takes
    }
    table.renumber();
    table.setHeaderLayout(table.composeHeaderLayout(false));
    return out;
}

}  // namespace

SheetTable SheetToGradeTable(const SheetGrid& grid, int headerRow) {
    return toGradeTable(grid, headerRow);
}

SheetTable SheetToGradeTable(SheetGrid&& grid, int headerRow) {
    return toGradeTable(grid, headerRow);
}

}  // namespace scorvane
