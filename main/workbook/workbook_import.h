#pragma once

#include <string>
#include <string_view>

#include "common/prompter.h"
#include "main/workbook/sheet_to_table.h"

namespace scorvane {

// The file dialog of every workbook import.
inline constexpr std::string_view kWorkbookFilterName = "电子表格";
inline constexpr std::string_view kWorkbookFilterPattern = "*.xlsx *.xls *.ods";
// Followed by the sheet's name or number.
inline constexpr std::string_view kMissingSheetMessage = "找不到工作表：";

// Reads the chosen sheet of a workbook, whichever of .xlsx, .ods or .xls its bytes show it to be.
SheetError ReadWorkbook(const std::string& path, const SheetChoice& choice, SheetGrid& out);
// The same for an .xlsx or .ods workbook in memory.
SheetError ReadZipWorkbook(std::string_view bytes, const SheetChoice& choice, SheetGrid& out);

// Reads the chosen sheet of a workbook file into `grid` (also its sheet names when the sheet asked for
// is missing), or gives the message that refuses it: "找不到文件：PATH", "文件格式不正确!",
// "找不到工作表：NAME"; empty when the sheet was read.
std::string LoadWorkbookSheet(const std::string& path, const SheetChoice& choice, SheetGrid& grid);

// A workbook's sheet as a grade table (SheetToGradeTable), or the message that refuses it: those of
// LoadWorkbookSheet or the table's limits. `grid` receives the sheet's names and which one was read;
// its cells are dropped once the table holds them.
SheetTable ImportWorkbook(const std::string& path, const SheetChoice& choice, int headerRow, SheetGrid& grid);

}  // namespace scorvane
