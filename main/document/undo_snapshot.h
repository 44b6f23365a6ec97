#pragma once

#include <string>
#include <vector>

#include "main/document/grade_table.h"

namespace scorvane {

// The one-level undo: the table's counts, every data cell (rows 1.. x columns 1.., at the same flat
// index as in the table) and the header layout string, which carries row 0. Column 0 is not kept. A
// table whose header layout string was never set (a fresh window) has its row 0 kept instead.
struct UndoSnapshot {
    int rows = 0;
    int cols = 0;
    GradeTable cells{0, 0};  // the table's cells as they were (rows x cols); rows 1.. x columns 1.. count
    std::string headerLayout;
    std::vector<std::string> titles;  // row 0, corner included, when headerLayout is empty

    void take(const GradeTable& table);
    // Puts the kept counts, data cells and header layout string back into the table.
    void restore(GradeTable& table) const;
};

}  // namespace scorvane
