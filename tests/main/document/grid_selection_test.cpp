#include "main/document/grid_selection.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

// A table of 3 students (rows 1 … 3) and 2 fields (columns 1 … 2).
const GradeTable kTable(4, 3);

TEST(GridSelection, DataCellsAreTheStudentRowsAndFieldColumnsTheTableHolds) {
    const std::tuple<int, int, bool> cases[] = {
        {1, 1, true},  {3, 2, true},  {0, 1, false},  {1, 0, false},
        {4, 1, false}, {1, 3, false}, {-1, 1, false},
    };
    for (auto [row, col, data] : cases) {
        EXPECT_EQ(IsDataCell(kTable, row, col), data) << row << "," << col;
    }
}

TEST(GridSelection, TheCursorIsKeptInsideTheTable) {
    struct Case {
        GradeTable table;
        int row, col;
        GridSelection kept;
    };
    const Case cases[] = {
        {kTable, 2, 1, GridSelection::cell(2, 1)},
        {kTable, 9, 9, GridSelection::cell(3, 2)},
        {kTable, -1, -5, GridSelection::cell(0, 0)},
        {kTable, 1, 0, GridSelection::cell(1, 0)},
        {GradeTable(1, 1), 5, 3, GridSelection::cell(0, 0)},
        {GradeTable(0, 0), 3, 3, GridSelection::cell(0, 0)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CellInTable(c.table, c.row, c.col), c.kept) << c.row << "," << c.col;
    }
}

TEST(GridSelection, OnlyARangeBetweenTwoDataCellsIsSelectedAsItIs) {
    const std::pair<GridSelection, bool> cases[] = {
        {{1, 1, 3, 2}, true},  {{3, 2, 1, 1}, true},  {{2, 2, 2, 2}, true},  {{0, 1, 2, 2}, false},
        {{1, 1, 4, 2}, false}, {{1, 0, 2, 2}, false}, {{1, 1, 2, 3}, false},
    };
    for (const auto& [selection, kept] : cases) {
        EXPECT_EQ(SelectsDataCells(kTable, selection), kept)
            << selection.row << "," << selection.col << "-" << selection.rowSel << "," << selection.colSel;
    }
}

TEST(GridSelection, AWholeRowRunsFromTheFirstFieldToTheLast) {
    struct Case {
        GradeTable table;
        int row;
        std::optional<GridSelection> whole;
    };
    const Case cases[] = {
        {kTable, 2, GridSelection{2, 1, 2, 2}},
        {kTable, 3, GridSelection{3, 1, 3, 2}},
        {kTable, 0, std::nullopt},
        {kTable, 4, std::nullopt},
        {GradeTable(4, 2), 1, GridSelection{1, 1, 1, 1}},
        {GradeTable(4, 1), 1, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WholeRow(c.table, c.row), c.whole) << c.row << " of " << c.table.cols() << " columns";
    }
}

}  // namespace
}  // namespace scorvane
