#include "main/printing/load_grid_into_table_print.h"

#include <algorithm>

namespace scorvane {

int PrintAlignment(GridAlignment alignment) {
    switch (alignment) {
        case GridAlignment::CenterTop:
        case GridAlignment::CenterCenter:
        case GridAlignment::CenterBottom:
            return 1;
        case GridAlignment::RightTop:
        case GridAlignment::RightCenter:
        case GridAlignment::RightBottom:
            return 2;
        default:
            return 0;
    }
}

SurfaceFont PrintCellFont() {
    SurfaceFont f;
    f.name = "宋体";
    f.size = 9;
    return f;
}

void LoadGridIntoTablePrint(clsTablePrint& tp, const PrintGrid& grid, double fitWidth) {
    const GradeTable& table = *grid.table;
    std::vector<int> columns = grid.columns;
    if (columns.empty()) {
        for (int c = 0; c < std::max(1, table.cols()); ++c) {
            columns.push_back(c);
        }
    }
    const int cols = static_cast<int>(columns.size());
    const int last = grid.lastRow < 0 ? table.rows() - 1 : std::min(grid.lastRow, table.rows() - 1);
    const int first = std::max(1, grid.firstRow);
    const long bodyRows = std::max(0, last - first + 1);
    auto valueOf = [&](int row, int col) -> std::string {
        if (col < 0 || col >= table.cols() || row >= table.rows()) {
            return {};
        }
        return grid.value ? grid.value(row, col) : table.cell(row, col);
    };
    auto columnOf = [&](int c) { return columns[static_cast<size_t>(c)]; };

    tp.setHasFooter(false);
    tp.setCols(cols);
    tp.setHeaderRows(1);
    tp.setRows(bodyRows);

    tp.LineThickness = grid.gridLineWidth;
    tp.HeaderLineThickness = 2 * grid.gridLineWidth;
    tp.RowHeightMin = grid.rowHeightMin;
    tp.HeaderRowHeightMin = grid.rowHeightMin;
    tp.FooterRowHeightMin = grid.rowHeightMin;
    tp.CellXOffset = 60;
    tp.CellYOffset = 30;
    tp.CenterMergedHeader = false;
    tp.ResizeCellsToPicHeight = true;
    tp.PrintHeaderOnEveryPage = true;

    const SurfaceFont font = PrintCellFont();
    double sum = 0;
    auto gridWidth = [&](int c) {
        const int col = columnOf(c);
        return col >= 0 && static_cast<size_t>(col) < grid.columnWidths.size()
                   ? grid.columnWidths[static_cast<size_t>(col)]
                   : 0;
    };
    tp.setHeaderFont(-1, -1, font);
    for (int c = 0; c < cols; ++c) {
        const int col = columnOf(c);
        tp.setHeaderText(0, c, valueOf(0, col));
        GridAlignment a = col >= 0 && static_cast<size_t>(col) < grid.alignments.size()
                              ? grid.alignments[static_cast<size_t>(col)]
                              : GridAlignment::General;
        tp.setColAlignment(c, PrintAlignment(a));
        sum += gridWidth(c);
    }
    tp.setMergeHeaderRow(0, false);

    tp.setFontMatrix(-1, -1, font);
    for (long r = 0; r < bodyRows; ++r) {
        const int row = first + static_cast<int>(r);
        for (int c = 0; c < cols; ++c) {
            tp.setTextMatrix(r, c, valueOf(row, columnOf(c)));
        }
        tp.setMergeRow(r, false);
        if (r > 0 && grid.pageBreakColumn >= 0 &&
            valueOf(row, grid.pageBreakColumn) != valueOf(row - 1, grid.pageBreakColumn)) {
            tp.setPageBreakBefore(r, true);
        }
    }

    for (int c = 0; c < cols; ++c) {
        const double w = gridWidth(c);
        tp.setColWidth(c, fitWidth > 0 && sum > 0 ? fitWidth * w / sum : w);
        tp.setMergeCol(c, false);
        tp.setMergeHeaderCol(c, false);
    }
}

}  // namespace scorvane
