#pragma once

#include <functional>
#include <string>

namespace scorvane {

class GradeTable;

// A cell's display text by (row, column): for a formula cell its computed value, for any other cell
// its text. Printing, charts and the comma-separated export read cells through one of these, so they
// show what the table window's formula engine computes.
using CellValueFn = std::function<std::string(int row, int col)>;

// The display values of `table` (公式2值 on it); the table must outlive the function.
CellValueFn FormulaValues(const GradeTable& table);

}  // namespace scorvane
