#pragma once

#include <vector>

#include "main/document/cell_value.h"
#include "main/document/grade_table.h"
#include "main/printing/table_print.h"

namespace scorvane {

// How the grid aligns a column's texts.
enum class GridAlignment {
    LeftTop,
    LeftCenter,
    LeftBottom,
    CenterTop,
    CenterCenter,
    CenterBottom,
    RightTop,
    RightCenter,
    RightBottom,
    General,
};

// The print engine's alignment for a grid alignment: 0 left (the left ones and general), 1 centre, 2 right.
int PrintAlignment(GridAlignment alignment);

// What is printed of a grade table's grid: the header row 0, the data rows firstRow .. lastRow (all of
// them, or the page or the single row chosen for printing), every column (or those listed), each cell's
// display value.
struct PrintGrid {
    const GradeTable* table = nullptr;
    CellValueFn value;                      // a cell's display value; empty: the cell's own text
    std::vector<int> columnWidths;          // the grid's width of every column, twips
    std::vector<GridAlignment> alignments;  // per column; missing ones are General
    int firstRow = 1;
    int lastRow = -1;       // -1: the table's last row
    int gridLineWidth = 1;  // device pixels
    double rowHeightMin = 0;
    std::vector<int> columns;  // the table's columns printed, in order; empty: every column
    int pageBreakColumn = -1;  // a printed row whose value here differs from the row above begins a page
};

// The font of every printed cell: "宋体" 9, plain.
SurfaceFont PrintCellFont();

// Fills the engine from the grid and sets the layout this system prints with: one header row, no
// footer, padding 60 x 30, header rules twice as wide as the body's, the header on every page. With
// fitWidth > 0 the column widths are scaled so that the table exactly fills fitWidth; otherwise each
// column keeps the grid's width.
void LoadGridIntoTablePrint(clsTablePrint& tablePrint, const PrintGrid& grid, double fitWidth);

}  // namespace scorvane
