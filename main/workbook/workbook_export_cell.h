#pragma once

#include <string>
#include <string_view>

#include "main/document/grade_table.h"

namespace scorvane {

// One cell of a grade table as the spreadsheet export writes it (sheet layout: see SheetAddress).
struct SheetCell {
    enum class Kind {
        Blank,    // an empty cell: nothing is written
        Number,   // `number`
        Text,     // `text`
        Formula,  // the spreadsheet formula `text` with its value `number`
    };
    Kind kind = Kind::Blank;
    double number = 0;
    std::string text;
    std::string numberFormat;  // a number's own format ("0.00", "0.00%"); empty: the sheet's general one
};

// The title of the row-number column in the sheet.
inline constexpr std::string_view kSheetRowNumberColumnTitle = "序号";

// The cell (row, col): field titles are text (the row-number column's is "序号"); a value that reads as
// a number (ReadSheetNumber) is a number, shown with as many decimals as it is written with ("97.00"
// is 97 in the format "0.00"); a percentage ("63.16%") is its fraction (0.6316) in a percent format of
// the same decimals ("0.00%"); any other value is text. A formula cell is its spreadsheet formula with
// the value the table shows (0 where the table shows nothing), or, when it does not translate, what
// the table shows, read as a value is.
SheetCell SheetCellOf(const GradeTable& table, int row, int col);

// The spreadsheet number format of the translated formula cells: the data format's decimals when it
// always shows them ("0.00" for "###.00"); empty (the spreadsheet's general format) otherwise.
std::string SheetFormulaFormat(const std::string& dataFormat);

}  // namespace scorvane
