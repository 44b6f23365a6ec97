#include "main/formula/formula_generator.h"

#include <gtest/gtest.h>

#include "support/sample_table.h"
#include "support/scripted_prompter.h"

namespace scorvane {
namespace {

using Op = FormulaOperation;

TEST(FormulaGenerator, EachOperationOverTheTargetsRow) {
    const CellAddress target{3, 5};
    EXPECT_EQ(GenerateFormula(Op::Sum, {3, 3}, {3, 3}, target), "cell(?,3)");
    EXPECT_EQ(GenerateFormula(Op::Sum, {3, 2}, {3, 4}, target), "cell(?,2)+cell(?,3)+cell(?,4)");
    EXPECT_EQ(GenerateFormula(Op::Difference, {3, 2}, {3, 4}, target), "cell(?,2)-cell(?,3)-cell(?,4)");
    EXPECT_EQ(GenerateFormula(Op::Product, {3, 2}, {3, 3}, target), "cell(?,2)*cell(?,3)");
    EXPECT_EQ(GenerateFormula(Op::Average, {3, 2}, {3, 4}, target), "(cell(?,2)+cell(?,3)+cell(?,4))/3");
    EXPECT_EQ(GenerateFormula(Op::Variance, {3, 2}, {3, 3}, target),
              "(1/2)*(cell(?,2)^2+cell(?,3)^2-2*((cell(?,2)+cell(?,3))/2)^2)");
    EXPECT_EQ(GenerateFormula(Op::StandardDeviation, {3, 2}, {3, 3}, target),
              "sr((1/2)*(cell(?,2)^2+cell(?,3)^2-2*((cell(?,2)+cell(?,3))/2)^2))");
}

TEST(FormulaGenerator, SelectionDirectionsAndOtherRows) {
    const CellAddress target{3, 5};
    // Another row is written out, so the formula stays put when applied to the column.
    EXPECT_EQ(GenerateFormula(Op::Sum, {1, 2}, {1, 3}, target), "cell(1,2)+cell(1,3)");
    // A block, row by row from where the selection started.
    EXPECT_EQ(GenerateFormula(Op::Sum, {2, 2}, {3, 3}, target), "cell(2,2)+cell(2,3)+cell(?,2)+cell(?,3)");
    EXPECT_EQ(GenerateFormula(Op::Sum, {3, 3}, {2, 2}, target), "cell(?,3)+cell(?,2)+cell(2,3)+cell(2,2)");
    EXPECT_EQ(GenerateFormula(Op::Sum, {2, 3}, {3, 2}, target), "cell(2,3)+cell(2,2)+cell(?,3)+cell(?,2)");
    // Cells of the target's column in other rows.
    EXPECT_EQ(GenerateFormula(Op::Sum, {1, 5}, {2, 5}, target), "cell(1,?)+cell(2,?)");
    // The target itself.
    EXPECT_EQ(GenerateFormula(Op::Sum, {3, 5}, {3, 5}, target), "cell(?,?)");
}

class FormulaEditorTest : public ::testing::Test {
  protected:
    GradeTable copy = testing::MakeTable({"姓名", "甲", "乙", "丙", "结果"},
                                         {{"张三", "2", "4", "9"}, {"", "！公式：cell(?,3)"}});
    testing::ScriptedPrompter prompter;
    const CellAddress target{1, 5};
};

TEST_F(FormulaEditorTest, ValuesOfGeneratedFormulas) {
    auto value = [&](Op op, CellAddress from, CellAddress to) {
        return 公式2值b(copy, GenerateFormula(op, from, to, target), target);
    };
    EXPECT_EQ(value(Op::StandardDeviation, {1, 2}, {1, 3}), "1");
    EXPECT_EQ(value(Op::Variance, {1, 2}, {1, 3}), "1");
    EXPECT_EQ(value(Op::Average, {1, 2}, {1, 4}), "5");
    EXPECT_EQ(value(Op::Difference, {1, 4}, {1, 2}), "3");  // 9-4-2, left to right
    EXPECT_EQ(value(Op::Product, {1, 2}, {1, 4}), "72");
    EXPECT_EQ(value(Op::Sum, {1, 5}, {1, 5}), "");  // cell(?,?): the empty target, 0
    copy.dataFormat = "###.000";
    EXPECT_EQ(value(Op::Average, {1, 2}, {1, 3}), "3.000");
}

TEST_F(FormulaEditorTest, CheckRefusesReferencesToFormulaCells) {
    FormulaCheck ok = CheckGeneratedFormula(copy, "cell(?,2)+cell(?,3)", target, prompter);
    EXPECT_TRUE(ok.acceptEnabled);
    EXPECT_EQ(ok.value, "6");
    EXPECT_TRUE(prompter.calls().empty());

    FormulaCheck refused = CheckGeneratedFormula(copy, "cell(?,3)+cell(2,2)", target, prompter);
    EXPECT_FALSE(refused.acceptEnabled);
    EXPECT_FALSE(refused.value.has_value());
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0], "公式中不可以引用已经包含公式的单元格！");
    EXPECT_EQ(prompter.last().icon, Icon::Information);

    FormulaCheck failing = CheckGeneratedFormula(copy, "cell(?,1)+1", target, prompter);
    EXPECT_TRUE(failing.acceptEnabled);
    EXPECT_EQ(failing.value, "公式错误");
}

TEST(FormulaEditorTexts, TargetAndAcceptedText) {
    EXPECT_EQ(TargetCellText({3, 2}), "行:3列:2");
    EXPECT_EQ(AcceptedFormulaText("cell(?,2)"), "！公式：cell(?,2)");
}

}  // namespace
}  // namespace scorvane
