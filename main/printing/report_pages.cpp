#include "main/printing/report_pages.h"

#include <algorithm>

#include "main/document/data_file.h"
#include "main/printing/table_page_layout.h"

namespace scorvane {

ReportRowRange AllReportRows(const GradeTable& table) {
    return {1, table.rows() - 1};
}

bool DrawReportPages(DrawingSurface& printer, const PrintableTemplate& report, const ReportBindings& bindings,
                     const ReportSource& source, ReportRowRange rows) {
    const GradeTable& table = *source.table;
    printer.setOrientation(report.landscape ? PageOrientation::Landscape : PageOrientation::Portrait);
    const int first = std::max(1, rows.first);
    const int last = std::min(rows.last, table.rows() - 1);

    // The column each label prints, resolved once: the last matching binding wins.
    std::vector<int> boundColumn(report.labels.size(), 0);
    for (size_t i = 0; i < report.labels.size(); ++i) {
        const int column = bindings.columnFor(static_cast<int>(i) + 1);
        boundColumn[i] = column > 0 && column < table.cols() ? column : 0;
    }

    for (int r = first; r <= last; ++r) {
        DrawReportPage(
            printer, report,
            [&](size_t i) {
                const int column = boundColumn[i];
                return column == 0    ? report.labels[i].caption
                       : source.value ? source.value(r, column)
                                      : table.cell(r, column);
            },
            [&](size_t i) { return boundColumn[i] != 0; });
        if (r < last && !printer.newPage()) {
            return false;
        }
    }
    return !printer.failed();
}

bool PrintReport(DrawingSurface& printer, const PrintableTemplate& report, const ReportBindings& bindings,
                 const ReportSource& source, ReportRowRange rows, Prompter& prompter, StatusSink& status) {
    status.setStatus(kStatusPrinting);
    status.setBusy(true);
    const bool drawn = DrawReportPages(printer, report, bindings, source, rows);
    const bool ended = printer.endJob();  // an empty range still ends its (empty) job
    status.setBusy(false);
    status.setStatus(kStatusReady);
    if (!drawn || !ended) {
        prompter.message(kPrintErrorMessage, kPrintErrorTitle, Icon::Error);
        return false;
    }
    return true;
}

}  // namespace scorvane
