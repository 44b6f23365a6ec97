#include "main/document/row_column_sizes.h"

#include <gtest/gtest.h>

#include <vector>

namespace scorvane {
namespace {

std::vector<int> heights(const GradeTable& t) {
    std::vector<int> h;
    for (int r = 0; r < t.rows(); ++r) {
        h.push_back(t.rowHeight(r));
    }
    return h;
}

std::vector<int> widths(const GradeTable& t) {
    std::vector<int> w;
    for (int c = 0; c < t.cols(); ++c) {
        w.push_back(t.columnWidth(c));
    }
    return w;
}

TEST(RowColumnSizesTest, EverySelectedRowAndColumnWhicheverCornerTheSelectionStartedFrom) {
    GradeTable down(6, 5);
    SetSelectionSizes(down, {2, 1, 4, 3}, 400, 1500);
    EXPECT_EQ(heights(down), (std::vector<int>{0, 0, 400, 400, 400, 0}));
    EXPECT_EQ(widths(down), (std::vector<int>{0, 1500, 1500, 1500, 0}));

    // The same block selected upward and leftward.
    GradeTable up(6, 5);
    SetSelectionSizes(up, {4, 3, 2, 1}, 400, 1500);
    EXPECT_EQ(heights(up), heights(down));
    EXPECT_EQ(widths(up), widths(down));

    // One cell: its row and its column; the row-number column can be sized too.
    GradeTable one(4, 3);
    SetSelectionSizes(one, GridSelection::cell(1, 0), 300, 700);
    EXPECT_EQ(heights(one), (std::vector<int>{0, 300, 0, 0}));
    EXPECT_EQ(widths(one), (std::vector<int>{700, 0, 0}));

    // 0 returns to the default size; sizes beyond the largest are held to it; a selection reaching past
    // the table is cut at its edge.
    SetSelectionSizes(one, {1, 0, 9, 9}, 0, 1'000'000);
    EXPECT_EQ(heights(one), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(widths(one), (std::vector<int>{kMaxCellSizeTwips, kMaxCellSizeTwips, kMaxCellSizeTwips}));
}

TEST(RowColumnSizesTest, ASizeBoxKeepsNumbersAndFallsBackToTheOpeningSize) {
    EXPECT_EQ(SizeBoxText("300", 255), "300");
    EXPECT_EQ(SizeBoxText("0", 255), "0");
    EXPECT_EQ(SizeBoxText("", 255), "255");  // emptied
    EXPECT_EQ(SizeBoxText("12a", 255), "255");
    EXPECT_EQ(SizeBoxText("-5", 255), "255");
    EXPECT_EQ(SizeBoxText("40000", 255), "32767");
    EXPECT_EQ(SizeBoxText("99999999999999999999", 255), "32767");
}

}  // namespace
}  // namespace scorvane
