#include "main/analysis/standard_scores.h"

#include <gtest/gtest.h>

#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using Strings = std::vector<std::string>;

// 语文 90 70 80 60: mean 75, deviation √125 = 11.18. 数学 80 _ 60 100: mean 80, deviation √(800/3) =
// 16.33. 体育 all 60: deviation 0. 合计 is a formula of other cells.
GradeTable Exam() {
    return MakeTable({"姓名", "学号", "语文", "数学", "体育", "合计", "名次"},
                     {{"甲", "01", "90", "80", "60", "！公式：cell(?,3)+cell(?,4)", "1"},
                      {"乙", "02", "70", "缺考", "60", "！公式：cell(?,3)+cell(?,4)", ""},
                      {"丙", "03", "80", "60", "60", "！公式：cell(?,3)+cell(?,4)", "3"},
                      {"丁", "04", "60", "100", "60", "！公式：cell(?,3)+cell(?,4)", "2"},
                      {}},
                     "期中考试");
}

TEST(StandardScores, DistanceFromTheMeanInDeviationsSummedAndTheTScore) {
    const GradeTable t = Exam();
    const AnalysisResult r = StandardScores(t, {"语文", "数学", "体育"});
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(r.table->title, "期中考试 标准分");
    // The sum and T add the exact scores: 甲: 15 / 11.180 = 1.342, 0, 0: sum 1.34, T = 50 + 10 × 1.342 / 3
    // = 54.47. 丙: 0.447 − 1.225 = −0.778 (not −0.77, the sum of the written figures), T 47.41. 丁:
    // −1.342 + 1.225 = −0.117, T 49.61. 乙 has no 数学: no sum and no T.
    const std::vector<Strings> expected = {
        {"姓名", "学号", "语文标准分", "数学标准分", "体育标准分", "标准分合计", "T分"},
        {"甲", "01", "1.34", "0.00", "0.00", "1.34", "54.47"},
        {"乙", "02", "-0.45", "", "0.00", "", ""},
        {"丙", "03", "0.45", "-1.22", "0.00", "-0.78", "47.41"},
        {"丁", "04", "-1.34", "1.22", "0.00", "-0.12", "49.61"},
    };
    EXPECT_EQ(testing::AllRowCells(*r.table), expected);
    EXPECT_NE(r.table->classInfo.find("“体育”的成绩都相同（标准差为 0），标准分记为 0.00"),
              std::string::npos);
    EXPECT_EQ(r.table->classInfo.find("“语文”的成绩都相同"), std::string::npos);

    // Equal marks that binary fractions cannot hold exactly are equal all the same; a student whose
    // marks are not typed in yet (a total of blanks) is no student to score, and a text mark is left
    // out and named.
    const GradeTable tenths = MakeTable({"姓名", "语文", "数学", "总分", "备注"},
                                        {{"甲", "0.1", "90", "！公式：cell(?,2)+cell(?,3)"},
                                         {"乙", "0.1", "良好", "！公式：cell(?,2)+cell(?,3)"},
                                         {"丙", "0.1", "70", "！公式：cell(?,2)+cell(?,3)"},
                                         {"丁", "", "", "！公式：cell(?,2)+cell(?,3)"}});
    EXPECT_EQ(DefaultStandardScoreFields(tenths), (Strings{"语文", "数学"}));
    const AnalysisResult equal = StandardScores(tenths, {"语文", "数学", "总分"});
    ASSERT_TRUE(equal.table) << equal.refusal;
    EXPECT_EQ(testing::AllRowCells(*equal.table),
              (std::vector<Strings>{{"姓名", "语文标准分", "数学标准分", "总分标准分", "标准分合计", "T分"},
                                    {"甲", "0.00", "1.00", "1.00", "2.00", "56.67"},
                                    {"乙", "0.00", "", "", "", ""},
                                    {"丙", "0.00", "-1.00", "-1.00", "-2.00", "43.33"},
                                    {"丁", "", "", "", "", ""}}));
    EXPECT_NE(equal.table->classInfo.find("数学：1 个非数字成绩未计入（乙：良好）"), std::string::npos);
    // Fields of marks not chosen are not copied, with a text mark or none, nor is an empty one.
    const AnalysisResult chinese = StandardScores(tenths, {"语文"});
    ASSERT_TRUE(chinese.table) << chinese.refusal;
    EXPECT_EQ(testing::RowCells(*chinese.table, 0), (Strings{"姓名", "语文标准分", "标准分合计", "T分"}));
}

TEST(StandardScores, DefaultFieldsLeaveOutComputedOnesAndBadChoicesAreRefused) {
    GradeTable t = Exam();
    EXPECT_EQ(StandardScoreFieldChoices(t), (Strings{"语文", "数学", "体育", "合计"}));
    EXPECT_EQ(DefaultStandardScoreFields(t), (Strings{"语文", "数学", "体育"}));
    // A mean typed in is computed all the same; a formula of no cell is not.
    t.setCell(0, 6, "平均分");
    t.setCell(2, 5, "！公式：60");
    for (int r = 1; r <= 4; ++r) {
        t.setCell(r, 6, std::to_string(r));
    }
    EXPECT_EQ(DefaultStandardScoreFields(t), (Strings{"语文", "数学", "体育"}));

    const std::vector<std::pair<Strings, std::string>> refused = {
        {{}, "请选择需要统计的字段！"},
        {{"语文", "物理"}, "表格中没有字段“物理”！"},
        {{"姓名"}, "字段“姓名”中没有成绩，不能计算标准分！"},
    };
    for (const auto& [fields, message] : refused) {
        const AnalysisResult r = StandardScores(t, fields);
        EXPECT_FALSE(r.table);
        EXPECT_EQ(r.refusal, message);
    }
}

}  // namespace
}  // namespace scorvane
