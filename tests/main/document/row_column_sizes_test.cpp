#include "main/document/row_column_sizes.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(RowColumnSizesTest, EverySelectedRowAndColumnWhicheverCornerTheSelectionStartedFrom) {
    for (GridSelection sel : {GridSelection{2, 1, 4, 3}, GridSelection{4, 3, 2, 1}}) {
        GradeTable t(6, 5);
        SetSelectionSizes(t, sel, 400, 1500);
        for (int r = 0; r < t.rows(); ++r) {
            EXPECT_EQ(t.rowHeight(r), r >= 2 && r <= 4 ? 400 : 0) << r;
        }
        for (int c = 0; c < t.cols(); ++c) {
            EXPECT_EQ(t.columnWidth(c), c >= 1 && c <= 3 ? 1500 : 0) << c;
        }
    }
    // 0 is the default size again; sizes are held to the largest; a selection is cut at the table's edge.
    GradeTable t(4, 3);
    SetSelectionSizes(t, {1, 0, 9, 9}, 300, 1'000'000);
    EXPECT_EQ(t.columnWidth(0), kMaxCellSizeTwips);
    EXPECT_EQ(t.rowHeight(3), 300);
    SetSelectionSizes(t, {3, 2, 3, 2}, 0, 0);
    EXPECT_EQ(t.rowHeight(3), 0);
    EXPECT_EQ(t.columnWidth(2), 0);
}

TEST(RowColumnSizesTest, ASizeBoxKeepsNumbersAndFallsBackToTheOpeningSize) {
    EXPECT_EQ(SizeBoxText("300", 255), "300");
    EXPECT_EQ(SizeBoxText("0", 255), "0");
    for (const char* bad : {"", "12a", "-5"}) {
        EXPECT_EQ(SizeBoxText(bad, 255), "255") << bad;
    }
    EXPECT_EQ(SizeBoxText("99999999999999999999", 255), "32767");
}

}  // namespace
}  // namespace scorvane
