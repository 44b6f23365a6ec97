#include "main/formula/formula_commands.h"

#include <gtest/gtest.h>

#include "main/formula/formula_cell.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"

namespace scorvane {
namespace {

using testing::ScriptedPrompter;

std::string F(std::string_view formula) {
    return std::string(kFormulaMarker) + std::string(formula);
}

// Three students, fields 姓名 语文 数学 总分 平均.
class FormulaCommandsTest : public ::testing::Test {
  protected:
    Document doc = testing::SampleDocument({"姓名", "语文", "数学", "总分", "平均"},
                                           {{"张三", "80", "90", F("cell(?,2)+cell(?,3)")},
                                            {"李四", "70", "缺考", F("cell(?,2)+cell(?,3)")},
                                            {"王五", "60", "61", F("cell(?,2)+cell(?,3)")}});
    ScriptedPrompter prompter;
};

TEST_F(FormulaCommandsTest, CheckAllMarksFailingFormulasOnlyAndCanBeUndone) {
    GradeTable& t = doc.table;
    t.setCell(1, 5, F("cell(?,?)"));  // 引用错误: left alone
    t.setCell(3, 5, "公式错误");      // a frozen failure: plain text reading exactly the error
    t.setCell(0, 5, F("1/0"));        // the title row is visited too
    EXPECT_EQ(CheckAllFormulas(doc), 3);
    EXPECT_EQ(t.cell(2, 4), "(公式错误)" + F("cell(?,2)+cell(?,3)"));
    EXPECT_EQ(t.cell(3, 5), "(公式错误)公式错误");
    EXPECT_EQ(t.cell(0, 5), "(公式错误)" + F("1/0"));
    EXPECT_EQ(t.cell(1, 4), F("cell(?,2)+cell(?,3)"));
    EXPECT_EQ(t.cell(1, 5), F("cell(?,?)"));
    // A marked cell is plain text now.
    EXPECT_EQ(公式2值(t, 2, 4), "(公式错误)" + F("cell(?,2)+cell(?,3)"));
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(doc.undoAvailable());
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(t.cell(2, 4), F("cell(?,2)+cell(?,3)"));
    EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(FormulaCommandsTest, CheckAllTakesTheSnapshotEvenWhenNothingFails) {
    doc.table.setCell(2, 3, "70");
    EXPECT_EQ(CheckAllFormulas(doc), 0);
    EXPECT_TRUE(doc.undoAvailable());
    EXPECT_FALSE(doc.modified());
}

TEST_F(FormulaCommandsTest, ComputeAllAsksAndCancelChangesNothing) {
    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(ComputeAllFormulas(doc, prompter));
    ASSERT_EQ(prompter.calls().size(), 1u);
    const auto& q = prompter.calls()[0];
    EXPECT_EQ(q.text,
              "    本操作将导致原来的公式将无法再响应数据源\n的数值变化，请确认您的操作已经达到打印前的最\n"
              "后一步。（可以不需执行本操作，打印时就会直接\n显示结果）；确定要继续吗？");
    EXPECT_EQ(q.title, "提示");
    EXPECT_EQ(q.buttons, Buttons::OkCancel);
    EXPECT_EQ(q.icon, Icon::Question);
    EXPECT_EQ(doc.table.cell(1, 4), F("cell(?,2)+cell(?,3)"));
    EXPECT_FALSE(doc.undoAvailable());
    EXPECT_FALSE(doc.modified());
}

TEST_F(FormulaCommandsTest, ComputeAllVisitsRowByRowSoEarlierFormulasAreFrozenFirst) {
    GradeTable& t = doc.table;
    t.setCell(1, 5, F("cell(?,4)/2"));  // reads (1,4), visited just before: its value by then
    t.setCell(2, 1, F("cell(?,4)"));    // reads (2,4), visited after: still a formula then
    prompter.answer(Answer::Ok);
    EXPECT_TRUE(ComputeAllFormulas(doc, prompter));
    EXPECT_EQ(t.cell(1, 4), "170");
    EXPECT_EQ(t.cell(1, 5), "85");
    EXPECT_EQ(t.cell(2, 1), "公式错误");
    EXPECT_EQ(t.cell(2, 4), "公式错误");  // "70+缺考"
    EXPECT_EQ(t.cell(1, 1), "张三");
    EXPECT_TRUE(doc.modified());
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(t.cell(1, 5), F("cell(?,4)/2"));
    EXPECT_EQ(t.cell(3, 4), F("cell(?,2)+cell(?,3)"));
}

TEST_F(FormulaCommandsTest, ApplyFormulaToColumnAsksAndCopiesBelowTheTitles) {
    GradeTable& t = doc.table;
    t.setCell(2, 5, F("(cell(?,2)+cell(?,3))/2"));
    t.setCell(1, 5, "旧数据");
    EXPECT_TRUE(CanApplyFormulaToColumn(t, 2, 5));
    EXPECT_FALSE(CanApplyFormulaToColumn(t, 2, 1));

    prompter.answer(Answer::No);
    EXPECT_FALSE(ApplyFormulaToColumn(doc, 2, 5, prompter));
    EXPECT_EQ(t.cell(1, 5), "旧数据");
    EXPECT_FALSE(doc.undoAvailable());

    prompter.answer(Answer::Yes);
    EXPECT_TRUE(ApplyFormulaToColumn(doc, 2, 5, prompter));
    ASSERT_EQ(prompter.questions().size(), 2u);
    EXPECT_EQ(prompter.questions()[1], "本操作将会覆盖第 5 列(平均)的所有数据，是否继续？");
    EXPECT_EQ(prompter.last().buttons, Buttons::YesNo);
    EXPECT_EQ(prompter.last().title, "提示");
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(t.cell(r, 5), F("(cell(?,2)+cell(?,3))/2"));
    }
    EXPECT_EQ(t.cell(0, 5), "平均");
    EXPECT_EQ(公式2值(t, 1, 5), "85");
    EXPECT_EQ(公式2值(t, 3, 5), "60.5");
    EXPECT_TRUE(doc.modified());
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(t.cell(1, 5), "旧数据");

    // A plain cell: nothing asked, nothing copied.
    EXPECT_FALSE(ApplyFormulaToColumn(doc, 1, 1, prompter));
    EXPECT_EQ(prompter.questions().size(), 2u);
}

TEST_F(FormulaCommandsTest, ReplaceFormulasByValuesLeavesPlainCellsAlone) {
    GradeTable copy = doc.table;
    EXPECT_EQ(ReplaceFormulasByValues(copy), 3);
    EXPECT_EQ(copy.cell(1, 4), "170");
    EXPECT_EQ(copy.cell(2, 3), "缺考");
    EXPECT_EQ(doc.table.cell(1, 4), F("cell(?,2)+cell(?,3)"));

    // The command line's way: no question, the same snapshot and values.
    EXPECT_TRUE(ComputeAllFormulas(doc, prompter, Confirmation::Skip));
    EXPECT_TRUE(prompter.calls().empty());
    EXPECT_EQ(doc.table.cell(3, 4), "121");
    EXPECT_TRUE(doc.undoAvailable());
}

}  // namespace
}  // namespace scorvane
