#include "main/analysis/borderline_students.h"

#include <gtest/gtest.h>

#include "main/analysis/line_grade_sample.h"

namespace scorvane {
namespace {

using testing::AllRowCells;
using testing::LineSampleGrade;
using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

const LineChoice kChoice{"总分", {"语文", "数学"}, {{"一本", LineKind::Count, "2"}, {"本科", LineKind::Count, "5"}}};

TEST(BorderlineStudents, ThoseFromBelowTheLineUpToAboveItByClassThenDistanceWithTheirWeakSubjects) {
    const AnalysisResult r = BorderlineStudents("高一", "期中", LineSampleGrade(), kChoice, "本科", {});
    ASSERT_TRUE(r.table) << r.refusal;
    const GradeTable& t = *r.table;
    EXPECT_EQ(t.title, "高一 期中 本科临界生");
    EXPECT_EQ(r.notice, "以下班级没有表格“期中”，未列入临界生：(4)班");
    // 本科 145 (语文 72, 数学 65): 125 ≤ total < 155. 庚 has no 语文 mark: it is not named.
    EXPECT_EQ(AllRowCells(t), (Rows{{"班级", "姓名", "学号", "总分", "距线", "年级名次", "语文", "数学", "薄弱学科"},
                                    {"(1)班", "丙", "03", "145", "0", "4", "72", "73", ""},
                                    {"(2)班", "己", "12", "145", "0", "4", "60", "64", "语文、数学"},
                                    {"(2)班", "辛", "14", "140", "-5", "6", "75", "65", ""},
                                    {"(2)班", "庚", "13", "130", "-15", "7", "", "50", "数学"}}));
    EXPECT_EQ(t.classInfo, "高一 (1)班、(2)班、(3)班的“期中”，按“总分”，参考 8 人。本科 前5名 = 总分 145；语文 72，数学 65；"
                           "临界范围：线下 20 分至线上 10 分，即 125 ≤ 总分 < 155");
    EXPECT_EQ(t.printPlan.pageBreakField, "班级");
    EXPECT_EQ(t.columnWidth(9), 5 * 240 + 180);  // "语文、数学" shows whole
}

TEST(BorderlineStudents, ExactlyTheLineLessBelowIsInExactlyTheLinePlusAboveIsOut) {
    const std::vector<std::pair<BorderRange, Strings>> cases = {
        {{"15", "20"}, {"丙", "己", "辛", "庚"}},  // 130 in, 165 out
        {{"14.5", "20.5"}, {"乙", "丙", "己", "辛"}},
        {{"0", "0.5"}, {"丙", "己"}},
        {{"60", "30"}, {"甲", "乙", "丙", "戊", "己", "辛", "庚", "壬"}},
        {{"55", "25"}, {"乙", "丙", "己", "辛", "庚", "壬"}},  // 90 is 55 below: in; 170 is 25 above: out
    };
    for (const auto& [range, names] : cases) {
        const AnalysisResult r = BorderlineStudents("高一", "期中", LineSampleGrade(), kChoice, "本科", range);
        ASSERT_TRUE(r.table) << r.refusal;
        EXPECT_EQ(testing::Column(*r.table, 2), names) << range.below << " " << range.above;
    }
    // Equal distances keep the row order: 辛 given 己's 145.
    std::vector<ClassTable> tied = LineSampleGrade();
    tied[1].table->setCell(4, 5, "145");
    EXPECT_EQ(testing::Column(*BorderlineStudents("高一", "期中", tied, kChoice, "本科", {}).table, 2),
              (Strings{"丙", "己", "辛", "庚"}));
    tied[1].table->setCell(2, 5, "140");
    EXPECT_EQ(testing::Column(*BorderlineStudents("高一", "期中", tied, kChoice, "本科", {}).table, 2),
              (Strings{"丙", "辛", "己", "庚"}));
    // 一本 170: 甲 before 乙 (165) in (1)班, then 戊.
    EXPECT_EQ(testing::Column(*BorderlineStudents("高一", "期中", LineSampleGrade(), kChoice, "一本", {}).table, 5),
              (Strings{"0", "-5", "0"}));
}

TEST(BorderlineStudents, RefusalsOfTheRangeTheLineAndAnEmptyList) {
    const std::vector<std::pair<std::pair<std::string, BorderRange>, std::string>> cases = {
        {{"本科", {"-1", "10"}}, "线下分数和线上分数必须是不小于 0 的数！"},
        {{"本科", {"20", "十"}}, "线下分数和线上分数必须是不小于 0 的数！"},
        {{"本科", {"20", ""}}, "线下分数和线上分数必须是不小于 0 的数！"},
        {{"二本", {}}, "请选择临界生所依据的分数线！"},
        {{"本科", {"0", "0"}}, "没有学生在临界范围内。"},
    };
    for (const auto& [in, message] : cases) {
        const AnalysisResult r = BorderlineStudents("高一", "期中", LineSampleGrade(), kChoice, in.first, in.second);
        EXPECT_FALSE(r.table);
        EXPECT_EQ(r.refusal, message);
    }
    EXPECT_EQ(BorderlineStudents("高一", "期中", LineSampleGrade(), {"总分", {}, {}}, "本科", {"-1", "1"}).refusal,
              "线下分数和线上分数必须是不小于 0 的数！");
}

TEST(BorderlineStudents, TheDistanceIsSigned) {
    const std::vector<std::pair<std::pair<double, double>, std::string>> cases = {
        {{165, 145}, "+20"}, {{140, 145}, "-5"}, {{145, 145}, "0"}, {{145.5, 145}, "+0.5"},
        {{519.99999999999994, 520}, "0"}, {{432.3, 415}, "+17.3"}};
    for (const auto& [in, text] : cases) {
        EXPECT_EQ(DistanceText(in.first, in.second), text);
    }
}

}  // namespace
}  // namespace scorvane
