#pragma once

#include "main/workbook/sheet_grid.h"
#include "main/workbook/zip_archive.h"

namespace scorvane {

// Reads one sheet of an Office Open XML workbook (.xlsx): the workbook's sheet list, its date system,
// the cell styles that show dates, the shared strings, then the sheet's XML as a stream. Merged ranges
// keep the value of their top-left cell only. A shared string index out of range, a sheet part that is
// missing, malformed XML or the limits of SheetGrid refuse the workbook.
SheetError ReadXlsx(ZipArchive& archive, const SheetChoice& choice, SheetGrid& out);

}  // namespace scorvane
