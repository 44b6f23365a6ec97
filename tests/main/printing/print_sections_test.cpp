#include "main/printing/print_sections.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

using Sections = std::vector<std::vector<int>>;

// 班级 | 参考人数 A B | 语文 X Y | 数学 X Y | 英语: the groups begin at 参考人数 and at each subject.
GradeTable Wide() {
    GradeTable t(2, 12);
    t.setHeaderLayout("  |班级|参考人数|A|B|语文|X|Y|数学|X|Y|英语");
    t.printPlan.columnGroups = {"参考人数", "语文", "数学", "英语"};
    return t;
}

TEST(PrintSections, WholeGroupsAsFitTheWidthEachBehindTheColumnsBeforeTheFirstGroup) {
    const GradeTable t = Wide();
    const std::vector<int> widths(12, 100);  // the columns before 参考人数 take 200
    const std::vector<std::pair<double, Sections>> cases = {
        {1200, {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}},  // the table fits
        {1199, {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {0, 1, 11}}},
        {800, {{0, 1, 2, 3, 4, 5, 6, 7}, {0, 1, 8, 9, 10, 11}}},
        {799, {{0, 1, 2, 3, 4}, {0, 1, 5, 6, 7}, {0, 1, 8, 9, 10, 11}}},
        // A group wider than the paper stands alone.
        {100, {{0, 1, 2, 3, 4}, {0, 1, 5, 6, 7}, {0, 1, 8, 9, 10}, {0, 1, 11}}},
        {0, {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}},  // no fitting to the paper
    };
    for (const auto& [fit, sections] : cases) {
        EXPECT_EQ(PrintSections(t, widths, fit), sections) << fit;
    }
    // Missing widths count 0, whatever the memory after the given ones holds.
    EXPECT_EQ(PrintSections(t, {100, 100, 400, 400}, 900),
              (Sections{{0, 1, 2, 3, 4}, {0, 1, 5, 6, 7, 8, 9, 10, 11}}));
    std::vector<int> given = {100, 100, 400, 100, 5000};
    given.pop_back();
    EXPECT_EQ(PrintSections(t, given, 900), (Sections{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}));  // 700 fits
}

TEST(PrintSections, WithoutGroupsTheTableHasOrTheyNamePrintsWhole) {
    GradeTable t = Wide();
    const std::vector<int> widths(12, 100);
    const Sections whole = {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
    t.printPlan.columnGroups = {"物理", "X"};  // X: the first so titled begins the only group
    EXPECT_EQ(PrintSections(t, widths, 500), (Sections{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}));
    t.printPlan.columnGroups = {"物理"};
    EXPECT_EQ(PrintSections(t, widths, 500), whole);
    t.printPlan.columnGroups = {"语文", "参考人数", "语文"};  // order and repetition do not matter
    EXPECT_EQ(PrintSections(t, widths, 800), (Sections{{0, 1, 2, 3, 4}, {0, 1, 5, 6, 7, 8, 9, 10, 11}}));
}

TEST(PrintSections, ThePageBreakFieldsColumn) {
    GradeTable t = Wide();
    EXPECT_EQ(PageBreakColumn(t), -1);
    t.printPlan.pageBreakField = "X";
    EXPECT_EQ(PageBreakColumn(t), 6);
    t.printPlan.pageBreakField = "物理";
    EXPECT_EQ(PageBreakColumn(t), -1);
}

}  // namespace
}  // namespace scorvane
