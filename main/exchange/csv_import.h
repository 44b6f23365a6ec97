#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/document/document.h"

namespace scorvane {

// Reading comma-separated text into one column of a table.
//
// The file is a flat sequence of values: commas and line ends separate them and carry no other
// meaning. An empty line gives no value; two commas in a row give an empty value (so ",1,85" gives
// three values, the first empty). Blanks around an unquoted value are removed. A value enclosed in
// double quotes keeps its commas, blanks and line breaks, and "" inside it stands for one quote; a
// quote inside an unquoted value is kept as it is. The bytes may be GBK (GB18030) or UTF-8 with or
// without a byte-order mark; valid UTF-8 is taken as UTF-8, anything else as GBK.

// The bytes as UTF-8 text, by the rule above.
std::string DecodeCsvBytes(std::string_view bytes);

// Every value of the text (UTF-8), in order.
std::vector<std::string> ParseCsvValues(std::string_view text);

// The same values line by line, for a file that holds a table: element i holds the values of the i-th
// line (from 0); an empty line (or one of blanks) holds none. A quoted value with line breaks keeps them
// and its line goes on after it, so such a line counts as one.
std::vector<std::vector<std::string>> ParseCsvRows(std::string_view text);

// Puts value k (from 0) into cell (k + 1, col) while the table has that row; the surplus is dropped,
// the rows after the last value keep their contents and the field title is never written. Sets the
// modified flag when a cell changes. Returns the number of cells written. Takes no snapshot.
int PutValuesIntoColumn(Document& document, int col, const std::vector<std::string>& values);

inline constexpr std::string_view kCsvOpenTitle = "打开以逗号分隔的文本文件，可以用Excel导出";
inline constexpr std::string_view kCsvReadFailedMessage = "文件读取失败！";

// "本操作将会覆盖第 3 列(语文)的所有数据，是否继续？"
std::string ColumnOverwriteQuestion(const GradeTable& table, int col);

enum class CsvImportOutcome { Imported, Declined, Cancelled, Failed };

// The grid's "import into this column" command, for the column `col` (1 .. Cols-1) where the selection
// ends: asks before overwriting the column, asks for the file ("*.txt;*.csv"), takes the undo
// snapshot, reads the file and fills the column while the status panel shows "文件导入中...". A file
// that cannot be read at all says "文件读取失败！" and changes nothing.
CsvImportOutcome menuImportCVS(Document& document, int col, Prompter& prompter, StatusSink& status);

}  // namespace scorvane
