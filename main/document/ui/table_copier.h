#pragma once

#include <string>

namespace scorvane {

class RecoveryCopier;
class RecoveryStore;
class TableWindow;

// Gives a table window its recovery copies: every change of the table asks for a copy, a command that
// changed many cells (the grid told to show the whole table or a range anew) for one at once; a save
// and a close that keeps no change (saved, discarded or unchanged) remove it. The copy is the table as
// the window holds it, with an entry still open in the cell editor, taken on the interface thread and
// written as a data file by the store's writer. `workspace` is recorded in its sidecar.
RecoveryCopier* AttachTableCopier(TableWindow& window, RecoveryStore& store, const std::string& workspace);

// A table a command has just made (a result of the statistics, a workbook's sheet) can be made again:
// it is copied only once the user changes it. Call after the window shows the new table.
void CopyMadeTableOnlyOnceChanged(TableWindow& window);

// The copier of a table window (nullptr when it has none).
RecoveryCopier* TableCopierOf(const TableWindow& window);

}  // namespace scorvane
