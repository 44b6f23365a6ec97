#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "main/document/grade_table.h"
#include "main/workbook/sheet_to_table.h"

namespace scorvane {

// The marks of a whole grade in one file, as the grade office receives them: a workbook (a marking
// system's export), a comma-separated file, or another grade table; a row per student, with a column
// that says the student's class.

// The open dialog of the grade import.
inline constexpr std::string_view kGradeSourceFilterName = "电子表格、逗号分隔的文本文件或成绩表";
inline constexpr std::string_view kGradeSourceFilterPattern = "*.xlsx *.xls *.ods *.csv *.txt *.skv";

enum class GradeSourceKind { Workbook, Text, DataFile };
// By the file's extension (any letter case): ".csv" and ".txt" are text, ".skv" a data file, anything
// else a workbook (whose reader goes by the bytes).
GradeSourceKind GradeSourceKindOf(const std::string& path);

struct GradeSource {
    GradeTable table;        // the students from row 1, the file's columns as fields
    std::vector<int> lines;  // for each student (row r at r - 1), the row the file shows it in, from 1
    bool titled = false;     // the file gives a title: a title row, or a data file's title
    std::string message;     // why the file cannot be read; empty when it was
};

// A sheet read by the sheet rules (SheetToGradeTable) as a source; a sheet with a message keeps it.
GradeSource GradeSourceOfSheet(SheetTable&& sheet);

// Comma-separated text (UTF-8) by the sheet rules: each line a sheet row, each value a cell, so that a
// title line, the header and a first column of row numbers are found as in a workbook (the comma-separated
// export of a table reads back so). `fileName` stands for the sheet's name. `headerRow` as for
// SheetToGradeTable.
GradeSource GradeSourceOfText(std::string_view text, std::string_view fileName, int headerRow = -1);

// A grade table as a source: its students (rows that hold data), each at its row number; a formula
// cell becomes the value it shows (ShownMark), since the split moves its columns.
GradeSource GradeSourceOfTable(const GradeTable& table);

// Reads the file of any kind: a workbook's sheet `choice` with the header row `headerRow` (from 0, -1:
// found), a text file's header row likewise. The message of a file that cannot be read is the
// readers' ("找不到文件：PATH", "文件格式不正确!", "找不到工作表：NAME").
GradeSource ReadGradeSource(const std::string& path, const SheetChoice& choice = {}, int headerRow = -1);

// The table name offered for the classes: the source's title when it has one, else the file's name
// without its extension; the grade's name at its start left out ("高一期末考试" gives "期末考试"), and
// blanks around it.
std::string OfferedTableName(const GradeSource& source, const std::string& path, std::string_view grade);

}  // namespace scorvane
