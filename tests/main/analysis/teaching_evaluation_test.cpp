#include "main/analysis/teaching_evaluation.h"

#include <gtest/gtest.h>

#include "main/document/column_widths.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using Strings = std::vector<std::string>;

// 数学 (full marks 100; lines 60, 85, 40):
//   (1)班 90 80 50      count 3, mean 73.33, 优秀 1, 及格 2, 低分 0
//   (2)班 100 30 缺考   count 2, mean 65,    优秀 1, 及格 1, 低分 1
//   (3)班 70 70         count 2, mean 70,    优秀 0, 及格 2, 低分 0
//   the grade: 490 ÷ 7 = 70 (not the mean of the means, 69.44)
// 语文: (1)班 80 80, (2)班 80, (3)班 缺考 only.
EvaluationInput Grade() {
    EvaluationInput in;
    in.grade = "高一";
    in.tableName = "期末";
    in.classes.push_back({"(1)班", MakeTable({"姓名", "语文", "数学"},
                                             {{"甲", "80", "90"}, {"乙", "80", "80"}, {"丙", "", "50"}})});
    in.classes.push_back({"(2)班", MakeTable({"姓名", "语文", "数学"},
                                             {{"丁", "80", "100"}, {"戊", "", "30"}, {"己", "", "缺考"}})});
    in.classes.push_back(
        {"(3)班", MakeTable({"姓名", "数学", "语文"}, {{"庚", "70", "缺考"}, {"辛", "70"}})});
    in.classes.push_back({"(4)班", std::nullopt});
    in.settings.fields = {"数学", "语文"};
    in.settings.fullMarks = {100, 100};
    in.teachers = TeacherAssignments(
        MakeTable({"班级", "数学", "语文"},
                  {{"(1)班", "张老师", "王老师"}, {"(2)班", "李老师", ""}, {"(3)班", "张老师", "王老师"}}),
        "高一", {"(1)班", "(2)班", "(3)班", "(4)班"});
    return in;
}

TEST(TeachingEvaluation, EachSubjectsClassesAgainstTheWholeGradeRankedByTheirScore) {
    const TeachingEvaluation r = EvaluateTeaching(Grade());
    ASSERT_TRUE(r.byClass) << r.refusal;
    EXPECT_EQ(r.byClass->title, "高一 期末 教学评价");
    // 综合得分 = 0.4 × mean + 0.3 × 优秀率 + 0.3 × 及格率: (1)班 29.33 + 10 + 20, (2)班 26 + 15 + 15,
    // (3)班 28 + 0 + 30; 语文: (1)班 and (2)班 tie at 32 + 0 + 30 and share the rank.
    const std::vector<Strings> expected = {
        {"学科", "班级", "任课教师", "参考人数", "平均分", "年级平均分", "比均率", "超均率", "优秀率",
         "及格率", "低分率", "综合得分", "名次"},
        {"数学", "(1)班", "张老师", "3", "73.33", "70.00", "104.76%", "4.76%", "33.33%", "66.67%", "0.00%",
         "59.33", "1"},
        {"数学", "(2)班", "李老师", "2", "65.00", "70.00", "92.86%", "-7.14%", "50.00%", "50.00%", "50.00%",
         "56.00", "3"},
        {"数学", "(3)班", "张老师", "2", "70.00", "70.00", "100.00%", "0.00%", "0.00%", "100.00%", "0.00%",
         "58.00", "2"},
        {"语文", "(1)班", "王老师", "2", "80.00", "80.00", "100.00%", "0.00%", "0.00%", "100.00%", "0.00%",
         "62.00", "1"},
        {"语文", "(2)班", "", "1", "80.00", "80.00", "100.00%", "0.00%", "0.00%", "100.00%", "0.00%", "62.00",
         "1"},
        {"语文", "(3)班", "王老师", "0", "", "80.00", "", "", "", "", "", "", ""},
    };
    EXPECT_EQ(testing::AllRowCells(*r.byClass), expected);
    EXPECT_EQ(r.byClass->classInfo,
              "高一 (1)班、(2)班、(3)班的“期末”；满分：数学 100，语文 100；及格 60%，优秀 85%，低分 40%；"
              "综合得分 = 0.4×平均分÷满分×100 + 0.3×优秀率 + 0.3×及格率 − 0×低分率");
    EXPECT_EQ(r.notice, "以下班级没有表格“期末”，未列入教学评价：(4)班");
}

TEST(TeachingEvaluation, ATeacherOfTwoClassesIsOneRowOverAllTheirStudents) {
    const TeachingEvaluation r = EvaluateTeaching(Grade());
    ASSERT_TRUE(r.byTeacher);
    EXPECT_EQ(r.byTeacher->title, "高一 期末 教师汇总");
    // 张老师: 90 80 50 70 70, mean 72, 优秀 1 of 5, 及格 4 of 5: 28.8 + 6 + 24.
    const std::vector<Strings> expected = {
        {"学科", "任课教师", "任课班级", "参考人数", "平均分", "比均率", "优秀率", "及格率", "低分率",
         "综合得分", "名次"},
        {"数学", "张老师", "(1)班、(3)班", "5", "72.00", "102.86%", "20.00%", "80.00%", "0.00%", "58.80",
         "1"},
        {"数学", "李老师", "(2)班", "2", "65.00", "92.86%", "50.00%", "50.00%", "50.00%", "56.00", "2"},
        {"语文", "王老师", "(1)班、(3)班", "2", "80.00", "100.00%", "0.00%", "100.00%", "0.00%", "62.00",
         "1"},
    };
    EXPECT_EQ(testing::AllRowCells(*r.byTeacher), expected);
    EXPECT_EQ(r.byTeacher->columnWidth(3), EstimatedColumnWidth("(1)班、(3)班"));
    const std::string& info = r.byTeacher->classInfo;
    EXPECT_EQ(info.substr(info.rfind("；") + 3), "以下班级的语文没有任课教师，未列入汇总：(2)班");
}

TEST(TeachingEvaluation, WithoutTeachersThereIsNoSummaryAndTheNoticeSaysWhy) {
    EvaluationInput in = Grade();
    in.teachers = TeacherAssignments();
    in.teacherTableMissing = true;
    TeachingEvaluation r = EvaluateTeaching(in);
    ASSERT_TRUE(r.byClass);
    EXPECT_FALSE(r.byTeacher);
    EXPECT_EQ(testing::Column(*r.byClass, 3), (Strings{"", "", "", "", "", ""}));
    EXPECT_EQ(r.notice,
              "以下班级没有表格“期末”，未列入教学评价：(4)班\n" + std::string(kNoTeacherTableNotice));
    in.teacherTableMissing = false;
    EXPECT_EQ(EvaluateTeaching(in).notice.substr(r.notice.find('\n') + 1), kNoTeachersNotice);
}

TEST(TeachingEvaluation, AnEarlierExamGivesEachClassItsFormerRatioAndTheChange) {
    EvaluationInput in = Grade();
    in.settings.fields = {"数学"};
    in.settings.fullMarks = {100};
    in.earlierName = "期中";
    // 期中 数学: (1)班 60 80, (2)班 70; the grade 70; (3)班 did not sit it.
    in.earlier.push_back({"(1)班", MakeTable({"姓名", "数学"}, {{"甲", "60"}, {"乙", "80"}})});
    in.earlier.push_back({"(2)班", MakeTable({"姓名", "数学"}, {{"丁", "70"}})});
    in.earlier.push_back({"(3)班", std::nullopt});
    const TeachingEvaluation r = EvaluateTeaching(in);
    ASSERT_TRUE(r.byClass);
    EXPECT_EQ(testing::RowCells(*r.byClass, 0).back(), "比均率变化");
    EXPECT_EQ(testing::Column(*r.byClass, 14), (Strings{"100.00%", "100.00%", ""}));
    EXPECT_EQ(testing::Column(*r.byClass, 15), (Strings{"4.76%", "-7.14%", ""}));
    EXPECT_NE(r.byClass->classInfo.find("；前次：“期中”"), std::string::npos);
    EXPECT_EQ(
        r.notice,
        "以下班级没有表格“期末”，未列入教学评价：(4)班\n以下班级没有前次的表格“期中”，前次比均率为空：(3)班");
}

TEST(TeachingEvaluation, WeightsChangeTheScoreAndLowMarksCountAgainstIt) {
    EvaluationInput in = Grade();
    in.settings.fields = {"数学"};
    in.settings.fullMarks = {150};
    in.weights = *ReadWeights("0，0，0,1");  // − 低分率 alone
    const TeachingEvaluation r = EvaluateTeaching(in);
    ASSERT_TRUE(r.byClass);
    // Against 150 the lines are 90, 127.5 and 60: (1)班 低分 1 of 3, (2)班 1 of 2, (3)班 none.
    EXPECT_EQ(testing::Column(*r.byClass, 12), (Strings{"-33.33", "-50.00", "0.00"}));
    EXPECT_EQ(testing::Column(*r.byClass, 13), (Strings{"2", "3", "1"}));
    in.weights = *ReadWeights(std::array<std::string, 4>{"1", "0", "0", "0"});
    EXPECT_EQ(testing::Column(*EvaluateTeaching(in).byClass, 12), (Strings{"48.89", "43.33", "46.67"}));
}

TEST(TeachingEvaluation, RefusedWithoutTheTableOrWithASubjectWithoutMarks) {
    EvaluationInput in = Grade();
    for (ClassTable& c : in.classes) {
        c.table.reset();
    }
    EXPECT_EQ(EvaluateTeaching(in).refusal, "本年级没有班级有表格“期末”！");
    in = Grade();
    in.settings.fields = {"姓名"};
    in.settings.fullMarks = {100};
    const TeachingEvaluation r = EvaluateTeaching(in);
    EXPECT_EQ(r.refusal, "所选字段“姓名”在这些表格中没有成绩。");
    EXPECT_FALSE(r.byClass);
}

TEST(TeachingEvaluation, AGradeMeanOfNothingButZerosGivesNoRatio) {
    EvaluationInput in = Grade();
    in.classes = {{"(1)班", MakeTable({"姓名", "数学"}, {{"甲", "0"}, {"乙", "0"}})}};
    in.settings.fields = {"数学"};
    in.settings.fullMarks = {100};
    const TeachingEvaluation r = EvaluateTeaching(in);
    ASSERT_TRUE(r.byClass);
    EXPECT_EQ(testing::RowCells(*r.byClass, 1), (Strings{"数学", "(1)班", "张老师", "2", "0.00", "0.00", "",
                                                         "", "0.00%", "0.00%", "100.00%", "0.00", "1"}));
}

TEST(EvaluationWeights, ReadFromFourNumbersAndWrittenBack) {
    const std::pair<const char*, bool> cases[] = {
        {"0.4,0.3,0.3,0", true},    {" 1 , 2 ,3,4", true},     {"1，2，3，4", true}, {"0.4,0.3,0.3", false},
        {"0.4,0.3,0.3,0,1", false}, {"0.4,-0.3,0.3,0", false}, {"a,0,0,0", false},   {"", false},
        {"1,,2,3", false},
    };
    for (const auto& [text, sound] : cases) {
        EXPECT_EQ(ReadWeights(text).has_value(), sound) << text;
    }
    const EvaluationWeights w = *ReadWeights("0.5,0.25,0.25,1");
    EXPECT_EQ(w.low, 1);
    EXPECT_EQ(w.excellent, 0.25);
    EXPECT_EQ(WeightsText(w), "0.5,0.25,0.25,1");
    EXPECT_EQ(WeightsText(EvaluationWeights{}), kDefaultWeights);
    EXPECT_EQ(WeightsFormulaText(w), "综合得分 = 0.5×平均分÷满分×100 + 0.25×优秀率 + 0.25×及格率 − 1×低分率");
}

}  // namespace
}  // namespace scorvane
