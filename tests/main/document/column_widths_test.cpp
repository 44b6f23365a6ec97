#include "main/document/column_widths.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

// 100 twips a byte: "姓名" (6 bytes) measures 600.
double Measure(std::string_view text) {
    return 100.0 * static_cast<double>(text.size());
}

TEST(GridColumnWidths, ColumnsFitTheirTitlesKeepSetWidthsAndFitRowNumbers) {
    GradeTable table(12001, 4);
    table.setHeaderLayout("  |姓名|期末考试总成绩|x");
    std::vector<int> widths = GridColumnWidths(table, Measure);
    // "12000" fits column 0's narrowest width; short titles get the narrowest field column.
    EXPECT_EQ(widths, (std::vector<int>{900, 1200, 2100 + 180, 1200}));

    table.setColumnWidth(2, 333);
    EXPECT_EQ(GridColumnWidths(table, Measure)[2], 333);
    table.setHeaderLayout("  |姓名|期末考试总成绩|x");  // a new header layout sizes columns again
    EXPECT_EQ(GridColumnWidths(table, Measure)[2], 2280);

    // Column 0 is as wide as the largest row number needs.
    GradeTable many(30000, 2);
    many.setHeaderLayout("  |a");
    auto wide = [](std::string_view text) { return 250.0 * static_cast<double>(text.size()); };
    EXPECT_EQ(GridColumnWidths(many, wide)[0], 5 * 250 + 180);
}

TEST(GridColumnWidths, FitAddsPaddingAndKeepsTheMinimum) {
    EXPECT_EQ(FitColumnWidth(-5), kMinColumnWidthTwips);
    EXPECT_EQ(FitColumnWidth(720), 900);
    EXPECT_EQ(FitColumnWidth(1000), 1180);
}

TEST(ColumnWidths, AnEstimatedWidthCountsChineseCharactersFullAndOthersHalf) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"", 1200},  // a field's column at least
        {"20240137", 1200},
        {"语文、英语、物理", 8 * 240 + 180},
        {"语文、英语、物理、化学", 11 * 240 + 180},
        {"T分 and ü", 240 + 7 * 120 + 180},
    };
    for (const auto& [text, width] : cases) {
        EXPECT_EQ(EstimatedColumnWidth(text), width) << text;
    }
}

}  // namespace
}  // namespace scorvane
