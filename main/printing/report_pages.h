#pragma once

#include "common/drawing_surface.h"
#include "common/prompter.h"
#include "common/report_page.h"
#include "common/report_template.h"
#include "common/status_sink.h"
#include "main/document/cell_value.h"
#include "main/document/grade_table.h"
#include "main/printing/report_bindings.h"

namespace scorvane {

// Report printing: a report template filled with the rows of a grade table, one page per row, each drawn
// by DrawReportPage (common/report_page.h), which the designer's sample page shares. Lines
// and labels print where the template puts them (no margin, no scaling); a bound label prints its
// row's value of the bound field instead of its caption.

// The rows to print, data rows of the table (first > last: none).
struct ReportRowRange {
    int first = 1;
    int last = 0;
};
// "打印全部项目(&A)": every data row.
ReportRowRange AllReportRows(const GradeTable& table);

struct ReportSource {
    const GradeTable* table = nullptr;
    CellValueFn value;  // a cell's display value; empty: the cell's own text
};

// Draws the pages: the paper turned as the template says (the paper stays A4), then for each row the
// template's lines in black and its labels, a new sheet between rows. Rows outside the table are
// skipped. A value with line breaks prints as several lines, each at the label's Left, from its Top
// down. False when starting a sheet failed (drawing stops there).
bool DrawReportPages(DrawingSurface& printer, const PrintableTemplate& report, const ReportBindings& bindings,
                     const ReportSource& source, ReportRowRange rows);

// "开始打印(&P)": the pages drawn and the job ended. Any failure of the printer or of the output file
// shows "打印错误，请检查 打印机连接！" (title "打印错误") and returns false.
bool PrintReport(DrawingSurface& printer, const PrintableTemplate& report, const ReportBindings& bindings,
                 const ReportSource& source, ReportRowRange rows, Prompter& prompter, StatusSink& status);

}  // namespace scorvane
