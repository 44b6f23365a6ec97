#include "main/document/undo_snapshot.h"

#include "main/document/grade_table.h"

namespace scorvane {

void UndoSnapshot::take(const GradeTable& table) {
    rows = table.rows();
    cols = table.cols();
    cells = table;
    headerLayout = table.headerLayout();
    titles.clear();
    if (headerLayout.empty() && rows > 0) {
        for (int c = 0; c < cols; ++c) {
            titles.emplace_back(table.cell(0, c));
        }
    }
}

void UndoSnapshot::restore(GradeTable& table) const {
    table.resize(rows, cols);
    for (int r = 1; r < rows; ++r) {
        for (int c = 1; c < cols; ++c) {
            table.setCell(r, c, cells.cell(r, c));
        }
    }
    if (!headerLayout.empty()) {
        table.setHeaderLayout(headerLayout);
        return;
    }
    // A fresh window's table: its own row 0 and no string, so no later undo restores one of the
    // undone change.
    for (int c = 0; c < cols && rows > 0 && static_cast<size_t>(c) < titles.size(); ++c) {
        table.setCell(0, c, titles[static_cast<size_t>(c)]);
    }
    table.clearHeaderLayout();
}

}  // namespace scorvane
