#pragma once

#include "fuzz/fuzz_check.h"
#include "main/workbook/sheet_to_table.h"

namespace scorvane::fuzz {

// What every workbook reader promises of a sheet it read, and the grade table made from it.
inline void CheckSheet(const SheetGrid& grid) {
    Check(grid.cellCount() <= kMaxSheetCells, "no more cells than the limit");
    Check(grid.sheet >= 0 && grid.sheet < static_cast<int>(grid.sheetNames.size()), "the sheet read is listed");
    int64_t cells = 0;
    for (size_t i = 0; i < grid.rows.size(); ++i) {
        Check(i == 0 || grid.rows[i - 1].index < grid.rows[i].index, "rows in order, each once");
        cells += static_cast<int64_t>(grid.rows[i].width);
    }
    Check(cells == grid.cellCount(), "the cells counted are the cells held");
    for (int header : {-1, 0, 3}) {
        const SheetTable s = SheetToGradeTable(grid, header);
        if (!s.message.empty()) {
            Check(s.message == kSheetRowsMessage || s.message == kSheetFieldsMessage, "a limit's message");
            continue;
        }
        const GradeTable& t = s.table;
        Check(t.rows() >= 1 && t.rows() <= GradeTable::kMaxCount && t.cols() >= 1 && t.cols() <= GradeTable::kMaxCount,
              "a grade table's counts");
        for (int r = 1; r < t.rows(); ++r) {
            Check(t.cell(r, 0) == std::to_string(r), "students are numbered");
        }
    }
}

}  // namespace scorvane::fuzz
