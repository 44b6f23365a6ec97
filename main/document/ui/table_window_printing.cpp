// The table window's printing commands: each opens its window of the printing subsystem on this table.
#include "main/document/cell_value.h"
#include "main/document/ui/table_window.h"
#include "main/document/ui/table_window_host.h"
#include "main/printing/ui/chart_dialog.h"
#include "main/printing/ui/print_setup_window.h"
#include "main/printing/ui/report_print_window.h"

namespace scorvane {

std::vector<int> TableWindow::gridColumnWidths() const {
    return grid_->columnWidthsTwips();
}

void TableWindow::printView() {
    commitEditor();
    TablePrintSource source;
    source.table = &document_.table;
    source.value = FormulaValues(document_.table);
    source.columnWidths = gridColumnWidths();
    RunPrintSetup(std::move(source), InitialTablePrintSettings(resultTable_), host_.printPath(),
                  host_.statusSink(), host_.dialogRunner(), host_.dialogOwner());
}

void TableWindow::printReport() {
    commitEditor();
    RunReportPrinting({&document_.table, FormulaValues(document_.table)}, host_.printPath(), host_.prompter(),
                      host_.dialogRunner(), host_.dialogOwner());
}

void TableWindow::printChart() {
    commitEditor();
    RunChartDialog(document_.table, FormulaValues(document_.table), host_.printPath(), host_.prompter(),
                   host_.dialogRunner(), host_.dialogOwner());
}

}  // namespace scorvane
