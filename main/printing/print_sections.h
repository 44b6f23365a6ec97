#pragma once

#include <vector>

#include "main/document/grade_table.h"

namespace scorvane {

// The sections a wide table prints in, one below the other (see TablePrintPlan::columnGroups): each a
// list of the table's columns, from column 0 (the row numbers) on. The columns before the first group
// stand in every section; then whole groups follow as long as their widths (`widths`, twips, one per
// column; missing ones count 0) stay within `fitWidth`, a section holding at least one group. One section
// of every column when the plan names no group the table has, when `fitWidth` is not above 0, or when the
// whole table fits.
std::vector<std::vector<int>> PrintSections(const GradeTable& table, const std::vector<int>& widths,
                                            double fitWidth);

// The column of the plan's page-break field (the first column so titled); -1 when there is none.
int PageBreakColumn(const GradeTable& table);

}  // namespace scorvane
