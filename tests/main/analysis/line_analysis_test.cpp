#include "main/analysis/line_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "main/analysis/line_grade_sample.h"

namespace scorvane {
namespace {

using testing::AllRowCells;
using testing::LineSampleGrade;
using testing::MakeTable;
using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

LineChoice Choice(const std::vector<std::string>& lines) {
    LineChoice choice{"总分", {"语文", "数学"}, {}};
    for (const std::string& line : lines) {
        choice.lines.push_back(*ReadLineArgument(line));
    }
    return choice;
}

TEST(LineGrade, StudentsTakePartWithAMarkBlankAbsentAndFormulasOfNothingNever) {
    const std::vector<ClassTable> classes = LineSampleGrade();
    std::vector<double> totals = GradeTotals(classes, "总分");
    std::sort(totals.begin(), totals.end());
    EXPECT_EQ(totals, (std::vector<double>{90, 130, 140, 145, 145, 165, 170, 170}));
    LineGrade g;
    ASSERT_EQ(ReadLineGrade("高一", "期中", classes, Choice({"一本=前2", "本科=前5"}), "上线分析", g), std::nullopt);
    EXPECT_EQ(g.takingPart, 8);
    EXPECT_EQ(g.students.size(), 10u);  // (3)班's empty row is no student
    EXPECT_EQ(g.reaching, (std::vector<int>{2, 5}));
    // 一本 (170): k = 2/8 × 7 = 1.75 -> 2 of 语文, 2/8 × 9 = 2.25 -> 2 of 数学; 本科 (145): 5/8 × 7 = 4.375
    // -> 4, 5/8 × 9 = 5.625 -> 6.
    using Marks = std::vector<std::optional<double>>;
    EXPECT_EQ(g.effective, (std::vector<Marks>{{80, 90}, {72, 65}}));
    std::vector<int> ranks;
    for (const LineStudent& s : g.students) {
        ranks.push_back(s.gradeRank);
    }
    EXPECT_EQ(ranks, (std::vector<int>{1, 3, 4, 0, 1, 4, 7, 6, 8, 0}));
    EXPECT_EQ(g.classInfo(),
              "高一 (1)班、(2)班、(3)班的“期中”，按“总分”，参考 8 人。一本 前2名 = 总分 170；语文 80，数学 90。"
              "本科 前5名 = 总分 145；语文 72，数学 65");
}

TEST(LineGrade, RefusalsNameWhatIsMissing) {
    const std::vector<ClassTable> classes = LineSampleGrade();
    const std::vector<std::pair<LineChoice, std::string>> cases = {
        {{"", {"语文"}, {{"一本", LineKind::Score, "1"}}}, "请选择总分字段！"},
        {{"平均", {"语文"}, {{"一本", LineKind::Score, "1"}}}, "表格中没有字段“平均”！"},
        {{"总分", {"语文", "物理"}, {{"一本", LineKind::Score, "1"}}}, "表格中没有字段“物理”！"},
        {{"总分", {}, {{"一本", LineKind::Count, "9"}}}, "“一本”的名次 9 超过了参考人数 8！"},
        {{"总分", {}, {}}, "请至少设定一条分数线！"},
    };
    for (const auto& [choice, message] : cases) {
        const AnalysisResult r = LineAnalysis("高一", "期中", classes, choice);
        EXPECT_FALSE(r.table);
        EXPECT_EQ(r.refusal, message);
    }
    std::vector<ClassTable> blank = LineSampleGrade();
    for (ClassTable& c : blank) {
        if (c.table) {
            for (int r = 1; r < c.table->rows(); ++r) {
                c.table->setCell(r, 5, "");
            }
        }
    }
    EXPECT_EQ(LineAnalysis("高一", "期中", blank, Choice({"一本=1"})).refusal, "所选字段“总分”在这些表格中没有成绩。");
    EXPECT_EQ(LineAnalysis("高一", "月考", {{"(1)班", std::nullopt}}, Choice({"一本=1"})).refusal,
              "本年级没有班级有表格“月考”！");
}

TEST(LineAnalysis, ARowPerClassAndTheGradeWithTheLinesAndEachSubjectsFigures) {
    const AnalysisResult r = LineAnalysis("高一", "期中", LineSampleGrade(), Choice({"一本=前2"}));
    ASSERT_TRUE(r.table) << r.refusal;
    const GradeTable& t = *r.table;
    EXPECT_EQ(t.title, "高一 期中 上线分析");
    EXPECT_EQ(r.notice, "以下班级没有表格“期中”，未列入上线分析：(4)班");
    // 一本 170; 语文 有效分 80, 数学 90. (3)班: no one reaches the line nor the 有效分: no rates.
    EXPECT_EQ(AllRowCells(t),
              (Rows{{"班级", "参考人数", "一本上线", "一本上线率", "语文单上线", "语文双上线", "语文命中率",
                     "语文贡献率", "数学单上线", "数学双上线", "数学命中率", "数学贡献率"},
                    {"(1)班", "3", "1", "33.33%", "1", "1", "100.00%", "100.00%", "1", "0", "0.00%", "0.00%"},
                    {"(2)班", "4", "1", "25.00%", "1", "1", "100.00%", "100.00%", "1", "1", "100.00%", "100.00%"},
                    {"(3)班", "1", "0", "0.00%", "0", "0", "", "", "0", "0", "", ""},
                    {"年级", "8", "2", "25.00%", "2", "2", "100.00%", "100.00%", "2", "1", "50.00%", "50.00%"}}));
    EXPECT_EQ(t.classInfo, "高一 (1)班、(2)班、(3)班的“期中”，按“总分”，参考 8 人。一本 前2名 = 总分 170；语文 80，数学 90");
    EXPECT_EQ(t.printPlan.columnGroups, (Strings{"参考人数", "语文单上线", "数学单上线"}));
}

TEST(LineAnalysis, SeveralLinesNameTheirSubjectColumnsAndALineNoOneReachesHasNoEffectiveMarks) {
    const AnalysisResult r = LineAnalysis("高一", "期中", LineSampleGrade(), Choice({"本科=前5", "特控=200"}));
    ASSERT_TRUE(r.table) << r.refusal;
    const GradeTable& t = *r.table;
    Strings titles = testing::RowCells(t, 0);
    EXPECT_EQ(Strings(titles.begin(), titles.begin() + 7),
              (Strings{"班级", "参考人数", "特控上线", "特控上线率", "本科上线", "本科上线率", "特控语文单上线"}));
    EXPECT_EQ(titles.size(), 22u);
    EXPECT_EQ(titles[14], "本科语文单上线");
    EXPECT_EQ(titles[21], "本科数学贡献率");
    // 特控: no one, no 有效分; 本科 145: 语文 72, 数学 65.
    const Strings empty(8, "");
    const std::vector<std::pair<Strings, Strings>> rows = {
        {{"(1)班", "3", "0", "0.00%", "3", "100.00%"}, {"2", "2", "100.00%", "66.67%", "4", "3", "75.00%", "100.00%"}},
        {{"(2)班", "4", "0", "0.00%", "2", "50.00%"}, {"2", "1", "50.00%", "50.00%", "2", "1", "50.00%", "50.00%"}},
        {{"(3)班", "1", "0", "0.00%", "0", "0.00%"}, {"0", "0", "", "", "0", "0", "", ""}},
        {{"年级", "8", "0", "0.00%", "5", "62.50%"}, {"4", "3", "75.00%", "60.00%", "6", "4", "66.67%", "80.00%"}},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        Strings expected = rows[i].first;
        expected.insert(expected.end(), empty.begin(), empty.end());
        expected.insert(expected.end(), rows[i].second.begin(), rows[i].second.end());
        EXPECT_EQ(testing::RowCells(t, static_cast<int>(i) + 1), expected) << i;
    }
    EXPECT_EQ(t.classInfo,
              "高一 (1)班、(2)班、(3)班的“期中”，按“总分”，参考 8 人。特控 200 = 总分 200；无人上线，没有有效分。"
              "本科 前5名 = 总分 145；语文 72，数学 65");
    EXPECT_EQ(t.printPlan.columnGroups.size(), 5u);
    EXPECT_EQ(t.printPlan.columnGroups[3], "本科语文单上线");
}

TEST(LineAnalysis, ASubjectWithoutMarksHasNoEffectiveMarkAndTextMarksAreNamed) {
    std::vector<ClassTable> classes;
    classes.push_back({"(1)班", MakeTable({"姓名", "语文", "生物", "总分"},
                                          {{"甲", "良好", "", "100"}, {"乙", "80", "", "90"}, {"丙", "70", "", "80"}})});
    const AnalysisResult r = LineAnalysis("高二", "月考", classes, {"总分", {"语文", "生物"}, {{"一本", LineKind::Score, "90"}}});
    ASSERT_TRUE(r.table) << r.refusal;
    // 2 of 3 reach 90; 语文's 2 marks: k = 2/3 × 2 = 1.33 -> 1: 80.
    EXPECT_EQ(testing::RowCells(*r.table, 1),
              (Strings{"(1)班", "3", "2", "66.67%", "1", "1", "100.00%", "50.00%", "", "", "", ""}));
    EXPECT_EQ(r.table->classInfo, "高二 (1)班的“月考”，按“总分”，参考 3 人。一本 90 = 总分 90；语文 80，生物 没有成绩；"
                                  "语文：1 个非数字成绩未计入（甲：良好）");
}

TEST(LineStudentList, EveryStudentReachingALineByRankWithTheHighestLineAndTheSubjectsBelowIt) {
    const AnalysisResult r = LineStudentList("高一", "期中", LineSampleGrade(), Choice({"本科=前5", "一本=前2"}));
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(r.table->title, "高一 期中 上线名单");
    EXPECT_EQ(r.notice, "以下班级没有表格“期中”，未列入上线名单：(4)班");
    // 一本 170 (语文 80, 数学 90); 本科 145 (语文 72, 数学 65). 甲 and 戊 share rank 1 in class order.
    EXPECT_EQ(AllRowCells(*r.table), (Rows{{"班级", "姓名", "学号", "总分", "年级名次", "上线", "偏科"},
                                           {"(1)班", "甲", "01", "170", "1", "一本", "数学"},
                                           {"(2)班", "戊", "11", "170", "1", "一本", ""},
                                           {"(1)班", "乙", "02", "165", "3", "本科", "语文"},
                                           {"(1)班", "丙", "03", "145", "4", "本科", ""},
                                           {"(2)班", "己", "12", "145", "4", "本科", "语文、数学"}}));
    EXPECT_EQ(r.table->columnWidth(7), 5 * 240 + 180);
    EXPECT_EQ(LineStudentList("高一", "期中", LineSampleGrade(), Choice({"特控=171"})).refusal,
              "没有学生达到所设的分数线。");
}

}  // namespace
}  // namespace scorvane
