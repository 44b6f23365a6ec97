#pragma once

#include <string>
#include <vector>

namespace scorvane {

// How a table asks to be printed beyond its cells. An analysis sets it on the table it makes; the table
// carries it while it is open (the data file does not keep it), and every printing of the table
// (preview, paper, PDF) honours it.
struct TablePrintPlan {
    // A new page before every printed row whose value in this field differs from the row above, so each
    // value's rows (a class's students) stand on pages of their own. Empty: no such pages.
    std::string pageBreakField;
    // The titles of the fields that begin a group of columns that belong together. A table wider than the
    // paper then prints in sections one below the other: each holds the columns before the first group
    // (the row's name) and as many whole groups as fit the paper's width. Empty: the table prints whole.
    std::vector<std::string> columnGroups;

    bool operator==(const TablePrintPlan&) const = default;
};

}  // namespace scorvane
