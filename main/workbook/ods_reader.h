#pragma once

#include "main/workbook/sheet_grid.h"
#include "main/workbook/zip_archive.h"

namespace scorvane {

// Reads one sheet of an OpenDocument spreadsheet (.ods): content.xml as a stream, every sheet's name
// on the way. Repeated rows and columns are counted, not stored, while they are empty; covered cells
// of a merged range are left empty. Dates, times, booleans and numbers come from the cell's value
// attributes, text from its paragraphs (one line each).
SheetError ReadOds(ZipArchive& archive, const SheetChoice& choice, SheetGrid& out);

}  // namespace scorvane
