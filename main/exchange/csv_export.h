#pragma once

#include <string>
#include <string_view>

#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/document/cell_value.h"
#include "main/document/grade_table.h"

namespace scorvane {

// The comma-separated export of a whole table, for spreadsheet programs. The text, GBK with CR LF:
// the title on the first line; then one line per row from row 0, holding for each column from 0 a
// comma followed by the cell's value (a formula cell's computed value); then one empty line.
//
// A value that holds a comma, a double quote or a line break is enclosed in double quotes with its
// inner quotes doubled, so it stays one cell for a spreadsheet program and for our own import; every
// other value is written as it is.

inline constexpr std::string_view kCsvSavedMessage =
    "文件保存成功！您可以使用Excel作为以逗号为分割符的文本文件打开。";

// Appends one value as it stands in the text.
void AppendCsvValue(std::string& out, std::string_view value);

// The whole text, UTF-8. `value` gives each formula cell's display value; without one the cells' texts
// are used.
std::string CsvExportText(const GradeTable& table, const CellValueFn& value);

// The bytes of the file (GB18030, which is GBK for every GBK character).
std::string CsvExportBytes(const GradeTable& table, const CellValueFn& value);

// Writes those bytes to `path`, atomically, as they are made; false on failure.
bool WriteCsvExport(const GradeTable& table, const CellValueFn& value, const std::string& path);

enum class CsvExportOutcome { Saved, Cancelled, Failed };

// The export command of the table window: asks for the file ("*.csv"), writes it atomically while the
// status panel shows "正在保存文件...", then says "文件保存成功！…". A failed write says
// "文件保存失败！" and leaves any former file whole.
CsvExportOutcome menuSaveCVS(const GradeTable& table, const CellValueFn& value, Prompter& prompter,
                             StatusSink& status);

}  // namespace scorvane
