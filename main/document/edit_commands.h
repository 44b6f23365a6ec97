#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "main/document/document.h"
#include "main/document/grid_selection.h"

namespace scorvane {

// The edit menu's commands on the grid. The clipboard belongs to the window: copy and cut return the
// text to put there, paste takes the clipboard's text. The commands that change cells take the undo
// snapshot first and set the modified flag when a cell changed. Only data cells are changed: the titles
// (row 0) and the row numbers (column 0) are not reached by paste, cut or delete.

// "复制": the text of the cell at the selection's far corner (rowSel, colSel), whatever the range.
std::string CopyCell(const GradeTable& table, const GridSelection& selection);

// "剪切": the far corner cell's text; that cell is emptied after the snapshot.
std::string CutCell(Document& document, const GridSelection& selection);

// "粘贴": the far corner cell := the whole text, line breaks included (the data file keeps them).
void PasteCell(Document& document, const GridSelection& selection, std::string_view text);

// "删除": empties every data cell of the rectangle between the current cell and the far corner, whichever
// corner the selection started from.
void DeleteCells(Document& document, const GridSelection& selection);

// "全选": every data cell, from (1, 1) to (Rows - 1, Cols - 1); nullopt when the table has no data cell.
// The window then shows cell (1, 1) in the value box and PositionText(1, 1).
std::optional<GridSelection> SelectAll(const GradeTable& table);

// "撤消": restores the snapshot when Undo is available; true when it did.
bool UndoLastChange(Document& document);

}  // namespace scorvane
