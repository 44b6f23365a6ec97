// The table window's printing commands: each opens its window of the printing subsystem on this table.
#include <QHeaderView>
#include <QTableView>
#include <algorithm>

#include "common/qt/screen_twips.h"
#include "main/document/cell_value.h"
#include "main/document/ui/table_window.h"
#include "main/document/ui/table_window_host.h"
#include "main/printing/ui/chart_dialog.h"
#include "main/printing/ui/print_setup_window.h"
#include "main/printing/ui/report_print_window.h"

namespace scorvane {

std::vector<int> TableWindow::gridColumnWidths() const {
    const GradeTable& t = document_.table;
    std::vector<int> widths(static_cast<size_t>(std::max(0, t.cols())), 0);
    if (widths.empty()) {
        return widths;
    }
    widths[0] = PixelsToTwipsX(grid_->verticalHeader()->width(), *this);
    for (int c = 1; c < t.cols(); ++c) {
        widths[static_cast<size_t>(c)] = PixelsToTwipsX(grid_->horizontalHeader()->sectionSize(c - 1), *this);
    }
    return widths;
}

void TableWindow::printView() {
    commitEditor();
    TablePrintSource source;
    source.table = &document_.table;
    source.value = FormulaValues(document_.table);
    source.columnWidths = gridColumnWidths();
    RunPrintSetup(std::move(source), host_.printPath(), host_.statusSink(), host_.dialogRunner(),
                  host_.dialogOwner());
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
