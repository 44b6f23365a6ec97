#pragma once

#include <functional>
#include <string>

namespace scorvane {

// A cell's display text by (row, column): for a formula cell its computed value, for any other cell
// its text. Printing, charts and the comma-separated export read cells through one of these, so they
// show what the table window's formula engine computes.
using CellValueFn = std::function<std::string(int row, int col)>;

}  // namespace scorvane
