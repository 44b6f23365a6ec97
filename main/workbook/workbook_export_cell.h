#pragma once

#include <string>

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
};

// The cell (row, col): field titles are text; a value that reads as a number (ReadSheetNumber) is a
// number, any other value text; a formula cell is its spreadsheet formula with the value the table
// shows (0 where the table shows nothing), or, when it does not translate, what the table shows.
SheetCell SheetCellOf(const GradeTable& table, int row, int col);

// The spreadsheet number format of the translated formula cells: the data format's decimals when it
// always shows them ("0.00" for "###.00"); empty (the spreadsheet's general format) otherwise.
std::string SheetFormulaFormat(const std::string& dataFormat);

}  // namespace scorvane
