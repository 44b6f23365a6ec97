#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "main/document/document.h"

namespace scorvane {

// Typing into the table: the cell editor laid over the current cell, what it starts with, the text it
// writes back, and where the cursor goes after Enter, Up and Down.

// A cell of the table by (row, column), grid numbering (row 0 the titles, column 0 the row numbers).
struct CellPosition {
    int row = 1;
    int col = 1;
    bool operator==(const CellPosition&) const = default;
};

// Which way Enter moves the cursor: the toolbar's "横向输入" (along the row) or "纵向输入" (down the
// column) button, exactly one of which stands down.
enum class EnterDirection { AlongRow, DownColumn };

// The cell the editor opens on when the cursor stands on (row, col). Column 0 (the row numbers, where
// the cursor stands right after a load) stands for the first field, so typing after opening a table
// fills its first cell. nullopt when the table has no data cell there (no student or no field).
std::optional<CellPosition> EditTarget(const GradeTable& table, int row, int col);

// What a key typed on the grid does. `typed` is the key's text as UTF-8 (a character, or a whole
// committed input-method string): the space bar, Enter and Backspace open the editor on the cell's own
// text; any other control character (Esc, Tab, Ctrl+letter) opens nothing; every other text opens it
// holding the typed text alone, replacing the old contents ("." included, so ".5" can be typed).
// nullopt: the key opens nothing.
std::optional<std::string> EditorTextForKey(const GradeTable& table, CellPosition cell,
                                            std::string_view typed);

// The text the editor starts with when it is opened without a typed character (double-click, the
// context menu's "编辑选中单元格"): the cell's own text.
std::string EditorTextOfCell(const GradeTable& table, CellPosition cell);

// Opening the editor takes the undo snapshot every time, even when the edit is then cancelled; the
// Undo command stays as it is until the editor lets go of the focus (Document::editorLostFocus).
void OpenCellEditor(Document& document);

// The editor's text written into its cell when the cursor leaves the cell; sets the modified flag.
// Does nothing for a cell that is no data cell (the table may have changed under the editor).
void CommitCellEditor(Document& document, CellPosition cell, std::string text);

// Where Enter moves the cursor from `from`. Along the row: one column right; from the last column to
// column 1 of the next row, and from the last cell to (1, 1). Down the column: one row down; from the
// last row to row 1 of the next column, and from the last row of the last column to its row 1.
CellPosition CellAfterEnter(const GradeTable& table, CellPosition from, EnterDirection direction);

// Up and Down in the editor: one row, never above the first data row nor below the last row.
CellPosition CellAfterUp(const GradeTable& table, CellPosition from);
CellPosition CellAfterDown(const GradeTable& table, CellPosition from);

}  // namespace scorvane
