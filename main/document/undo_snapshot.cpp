#include "main/document/undo_snapshot.h"

#include "main/document/grade_table.h"

namespace scorvane {

void UndoSnapshot::take(const GradeTable& table) {
    rows = table.rows();
    cols = table.cols();
    cells.assign(static_cast<size_t>(rows) * static_cast<size_t>(cols), std::string());
    for (int r = 1; r < rows; ++r) {
        for (int c = 1; c < cols; ++c) {
            cells[static_cast<size_t>(table.faIndex(r, c))] = table.cell(r, c);
        }
    }
    headerLayout = table.headerLayout();
}

void UndoSnapshot::restore(GradeTable& table) const {
    table.resize(rows, cols);
    for (int r = 1; r < rows; ++r) {
        for (int c = 1; c < cols; ++c) {
            table.setCell(r, c, cells[static_cast<size_t>(table.faIndex(r, c))]);
        }
    }
    // A table whose header layout string was never set (a fresh window) keeps its counts as restored.
    if (!headerLayout.empty()) {
        table.setHeaderLayout(headerLayout);
    }
}

}  // namespace scorvane
