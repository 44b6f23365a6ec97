// The table window's workbook commands: a sheet as a new table, a sheet's rows appended, the table as a
// workbook.
#include <QTableView>

#include "main/document/ui/grade_table_model.h"
#include "main/document/ui/table_window.h"
#include "main/document/ui/table_window_host.h"
#include "main/workbook/ui/sheet_import_dialog.h"
#include "main/workbook/workbook_export_command.h"

namespace scorvane {

void TableWindow::importWorkbookAsNewTable() {
    commitEditor();
    if (std::optional<GradeTable> table = RunSheetImportDialog(host_.prompter(), host_.statusSink(),
                                                               host_.dialogRunner(), host_.dialogOwner())) {
        host_.openNewTable(std::move(*table), NewTableKind::Ordinary);
    }
}

void TableWindow::importWorkbookRows() {
    commitEditor();
    if (RunSheetAppendDialog(document_, host_.prompter(), host_.statusSink(), host_.dialogRunner(),
                             host_.dialogOwner())) {
        tableReset();
    }
}

void TableWindow::exportWorkbook() {
    commitEditor();
    ExportWorkbookCommand(document_.table, host_.prompter(), host_.statusSink());
}

}  // namespace scorvane
