#pragma once

#include <string>

#include "main/workbook/sheet_grid.h"

namespace scorvane {

// Reads one sheet of a binary Excel workbook (.xls, BIFF5 and BIFF8), from its file a window at a time.
// Every length is checked against its record and every index against its table; an encrypted workbook,
// a damaged one (a record shorter than its fields, a string past its record, a shared string or sheet
// that is not there), sheets that declare more cells than the limits of SheetGrid, or a sheet that holds
// more, are refused.
SheetError ReadXls(const std::string& path, const SheetChoice& choice, SheetGrid& out);

}  // namespace scorvane
