#pragma once

#include <string>

#include "main/workbook/sheet_grid.h"

namespace scorvane {

// Reads one sheet of a binary Excel workbook (.xls, BIFF5 and BIFF8) through FreeXL. An encrypted
// workbook, a damaged file, or a sheet over the limits of SheetGrid is refused.
SheetError ReadXls(const std::string& path, const SheetChoice& choice, SheetGrid& out);

}  // namespace scorvane
