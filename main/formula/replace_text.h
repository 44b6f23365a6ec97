#pragma once

#include <string_view>

#include "main/document/document.h"

namespace scorvane {

// "全部替换" is offered while at least one of the two texts is not empty.
bool CanReplace(std::string_view findText, std::string_view replacement);

// Opening the replace window takes the undo snapshot, so undo returns the table to where it was
// before the window opened, however many replacements ran.
void BeginReplace(Document& document);

// Replace all over the data cells (rows 1.., columns 1..), case-sensitively, formulas as their text.
// Whole-cell: a cell equal to `findText` becomes `replacement` (an empty findText fills every empty
// cell). Otherwise every occurrence in a cell is replaced left to right, inserted text never searched
// again; an empty findText changes nothing. Marks the document changed when a cell changed; returns
// the number of cells changed.
int ReplaceInTable(Document& document, std::string_view findText, std::string_view replacement,
                   bool wholeCell);

}  // namespace scorvane
