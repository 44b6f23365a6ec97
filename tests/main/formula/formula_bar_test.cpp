#include "main/formula/formula_bar.h"

#include <gtest/gtest.h>

#include "main/formula/formula_cell.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

TEST(FormulaBar, ShowsTheStoredFormulasValueOrSaysItIsNone) {
    const GradeTable t =
        testing::MakeTable({"语文", "数学", "总分"}, {{"80", "7", "！公式：cell(?,1)+cell(?,2)"}});
    FormulaBarView v = DescribeFormulaBar(t, 1, 3, t.cell(1, 3));
    EXPECT_TRUE(v.formulaTicked);
    EXPECT_TRUE(v.valueEnabled);
    EXPECT_EQ(v.valueText, "=87");
    // While a new formula is typed, the value is still the stored one.
    v = DescribeFormulaBar(t, 1, 3, "！公式：cell(?,1)*2");
    EXPECT_EQ(v.valueText, "=87");
    v = DescribeFormulaBar(t, 1, 1, "80");
    EXPECT_FALSE(v.formulaTicked);
    EXPECT_FALSE(v.valueEnabled);
    EXPECT_EQ(v.valueText, "非公式单元格");
}

TEST(FormulaBar, TickingAddsOrRemovesTheMarkerOnce) {
    EXPECT_EQ(ApplyFormulaTick("cell(?,1)", true), "！公式：cell(?,1)");
    EXPECT_EQ(ApplyFormulaTick("！公式：cell(?,1)", false), "cell(?,1)");
}

TEST(FormulaBar, CommitTakesTheSnapshotAndMarksTheDocument) {
    Document doc;
    doc.table.setHeaderLayout("  |姓名");
    doc.table.setCell(1, 1, "旧");
    CommitFormulaBar(doc, 1, 1, "！公式：1+1");
    EXPECT_EQ(doc.table.cell(1, 1), "！公式：1+1");
    EXPECT_TRUE(doc.modified());
    ASSERT_TRUE(doc.undoAvailable());
    doc.undo();
    EXPECT_EQ(doc.table.cell(1, 1), "旧");
}

}  // namespace
}  // namespace scorvane
