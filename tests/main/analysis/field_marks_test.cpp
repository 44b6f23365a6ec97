#include "main/analysis/field_marks.h"

#include <gtest/gtest.h>

#include "main/analysis/analysis_fields.h"
#include "main/analysis/field_across_tables.h"
#include "main/analysis/totals_question.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using Strings = std::vector<std::string>;

TEST(FieldMarks, WhatEachCellHolds) {
    // 总分 adds 语文 and 数学; 常数 is a formula of no cell.
    const GradeTable t = MakeTable({"姓名", "语文", "数学", "总分", "常数"},
                                   {{"甲", "", "", "！公式：cell(?,2)+cell(?,3)", "！公式：5"},
                                    {"乙", "0", "", "！公式：cell(?,2)+cell(?,3)", ""},
                                    {"丙", "良好", "缺考", "！公式：cell(?,2)+cell(?,3)", " 缺考 "},
                                    {"", "", "", "！公式：cell(?,2)+cell(?,3)", "！公式：5"},
                                    {"丁", " 80.5 ", "-1", "！公式：cell(?,2)+cell(?,3)", "！公式：cell(?,?)"}});
    struct Case {
        int row;
        int col;
        MarkCell kind;
        double value;
    };
    const std::vector<Case> cases = {
        {1, 2, MarkCell::Nothing, 0},  // a blank
        {1, 4, MarkCell::Nothing, 0},  // a total of subjects not typed in computes 0 but is no mark
        {1, 5, MarkCell::Mark, 5},     // a formula of no cell counts by its value
        {2, 2, MarkCell::Mark, 0},     // a typed 0 is a mark
        {2, 4, MarkCell::Mark, 0},     // so is a total over it, shown as nothing
        {3, 2, MarkCell::Text, 0},
        {3, 3, MarkCell::Absent, 0},
        {3, 4, MarkCell::Nothing, 0},  // the formula fails on the text
        {3, 5, MarkCell::Absent, 0},
        {4, 5, MarkCell::Nothing, 0},  // a row of formulas only holds no student
        {5, 2, MarkCell::Mark, 80.5},
        {5, 4, MarkCell::Mark, 79.5},
        {5, 5, MarkCell::Nothing, 0},  // 引用错误
    };
    for (const Case& c : cases) {
        double value = -99;
        EXPECT_EQ(ReadMarkCell(t, c.row, c.col, value), c.kind) << c.row << "," << c.col;
        if (c.kind == MarkCell::Mark) {
            EXPECT_DOUBLE_EQ(value, c.value) << c.row << "," << c.col;
        }
    }
    const FieldMarks total = CollectFieldMarks(t, 4);
    EXPECT_EQ(total.marks, (std::vector<double>{0, 79.5}));
    EXPECT_EQ(total.students, 4);
}

TEST(FieldMarks, AFieldOfMarksHoldsMarksOrAbsencesForHalfOfItsStudents) {
    // One text mark does not make 数学 text; 备注 holds a number for one student of four; 体育 has
    // two marks and two absences; 姓名 holds no number.
    const GradeTable t = MakeTable({"姓名", "数学", "备注", "体育", "总分"},
                                   {{"甲", "90", "1", "缺考", "！公式：cell(?,2)"},
                                    {"乙", "良好", "", "80", "！公式：cell(?,2)"},
                                    {"丙", "70", "转学", "缺考", "！公式：cell(?,2)"},
                                    {"丁", "60", "", "70", "！公式：cell(?,2)"},
                                    {"", "", "", "", "！公式：cell(?,2)"}});
    EXPECT_EQ(DefaultStatisticsFields(t), (Strings{"数学", "体育", "总分"}));
    for (int c = 1; c < t.cols(); ++c) {
        const std::string title(t.cell(0, c));
        const bool listed = title == "数学" || title == "体育" || title == "总分";
        EXPECT_EQ(CollectFieldMarks(t, c).numeric(), listed) << title;
    }
    const FieldMarks maths = CollectFieldMarks(t, 2);
    EXPECT_EQ(maths.marks, (std::vector<double>{90, 70, 60}));
    EXPECT_EQ(TextMarksNote("数学", maths), "数学：1 个非数字成绩未计入（乙：良好）");
    // Three are named, then "等"; a student without a name by the row.
    GradeTable many = MakeTable({"姓名", "英语"}, {{"甲", "A"}, {"", "B"}, {"丙", "C"}, {"丁", "D"}});
    EXPECT_EQ(TextMarksNote("英语", CollectFieldMarks(many, 2)),
              "英语：4 个非数字成绩未计入（甲：A、第 2 行：B、丙：C等）");
    many.setCell(4, 2, "");
    EXPECT_EQ(TextMarksNote("英语", CollectFieldMarks(many, 2)), "英语：3 个非数字成绩未计入（甲：A、第 2 行：B、丙：C）");
    EXPECT_EQ(TextMarksNote("英语", CollectFieldMarks(t, 4)), "");
}

// Classes whose 总分 adds the subjects they hold: (3)班 lacks 物理, (4)班's is typed in.
std::vector<ClassTable> TotalsGrade() {
    const std::string three = "！公式：cell(?,1)+cell(?,2)+cell(?,3)";
    const std::string threeAverage = "！公式：(cell(?,1)+cell(?,2)+cell(?,3))/3";
    std::vector<ClassTable> classes;
    for (const char* name : {"(1)班", "(2)班"}) {
        classes.push_back({name, MakeTable({"语文", "数学", "物理", "总分", "平均"},
                                           {{"1", "2", "3", three, threeAverage}})});
    }
    classes.push_back({"(3)班", MakeTable({"语文", "数学", "总分", "平均"},
                                          {{"1", "2", "！公式：cell(?,1)+cell(?,2)", "！公式：(cell(?,1)+cell(?,2))/2"}})});
    classes.push_back({"(4)班", MakeTable({"语文", "数学", "总分", "平均"}, {{"1", "2", "3", "1.5"}})});
    return classes;
}

TEST(FieldAcrossTables, SubjectsAreFieldsOfMarksNoTableComputes) {
    // (2)班 has no 物理 and types its 总分; (1)班 computes 总分.
    const GradeTable one = MakeTable({"姓名", "语文", "物理", "总分"}, {{"甲", "80", "70", "！公式：cell(?,2)+cell(?,3)"}});
    const GradeTable two = MakeTable({"语文", "总分", "英语"}, {{"90", "170", "80"}});
    EXPECT_EQ(SubjectFieldsOfTables({&one, &two}), (Strings{"语文", "物理", "英语"}));
    EXPECT_EQ(SubjectFieldsOfTables({&two, &one}), (Strings{"语文", "英语", "物理"}));
}

TEST(FieldAcrossTables, TotalsThatAddDifferentSubjectsAreNamed) {
    std::vector<ClassTable> classes = TotalsGrade();
    TableGroup group = GroupOfClasses(classes);
    EXPECT_EQ(MismatchedTotalsMessage(group, "总分", kOtherClasses),
              "(3)班的总分只加了 语文、数学（没有 物理），与其他班级不可比。");
    EXPECT_EQ(MismatchedTotalsMessage(group, "平均", kOtherExams),
              "(3)班的平均只平均了 语文、数学（没有 物理），所含科目与其他考试不同。");
    EXPECT_EQ(ComparableAverageField(group, "总分"), "平均");
    EXPECT_EQ(ComparableAverageField(group, "平均"), "");
    // An average typed in is never exchanged for another.
    const GradeTable typed = MakeTable({"总分", "平均", "平均分"}, {{"9", "3", "3"}});
    EXPECT_EQ(ComparableAverageField({{"(1)班", &typed}}, "平均"), "");
    EXPECT_EQ(ComparableAverageField({{"(1)班", &typed}}, "总分"), "平均");
    // The titles most tables take are the reference: two classes of four subjects against one of three.
    classes[1].table = MakeTable({"语文", "数学", "总分"}, {{"1", "2", "！公式：cell(?,1)+cell(?,2)"}});
    classes.push_back({"(5)班", MakeTable({"语文", "数学", "生物", "总分"},
                                          {{"1", "2", "3", "！公式：cell(?,1)+cell(?,2)+cell(?,3)"}})});
    group = GroupOfClasses(classes);
    EXPECT_EQ(MismatchedTotalsMessage(group, "总分", kOtherClasses),
              "(1)班的总分加了 语文、数学、物理（多了 物理），与其他班级不可比。"
              "(5)班的总分加了 语文、数学、生物（多了 生物），与其他班级不可比。");
    EXPECT_EQ(ComparableAverageField(group, "总分"), "");  // (2)班 and (5)班 have no 平均
    // Two against two: the larger set is the reference, whichever comes first.
    const TableGroup tie{{"(3)班", group[2].table}, {"(1)班", group[0].table}, {"(2)班", group[1].table},
                         {"(6)班", group[0].table}};
    EXPECT_EQ(MismatchedTotalsMessage(tie, "总分", kOtherClasses),
              "(3)班的总分只加了 语文、数学（没有 物理），与其他班级不可比。"
              "(2)班的总分只加了 语文、数学（没有 物理），与其他班级不可比。");
    // Agreeing totals, and a field that adds nothing, say nothing.
    group.erase(group.begin());
    group.pop_back();
    EXPECT_EQ(MismatchedTotalsMessage(group, "总分", kOtherClasses), "");
    EXPECT_EQ(MismatchedTotalsMessage(group, "语文", kOtherClasses), "");
}

TEST(FieldAcrossTables, MarksNotesAndTheAnswersToTheTotalsQuestion) {
    const std::vector<ClassTable> classes = TotalsGrade();
    const TableGroup group = GroupOfClasses(classes);
    // A student's text mark is named after the class.
    GradeTable withText = MakeTable({"姓名", "语文"}, {{"王五", "良好"}, {"赵六", "80"}});
    const TableGroup two{{"(1)班", &withText}, {"(2)班", &withText}};
    EXPECT_EQ(FieldNotes(two, "语文", kOtherClasses),
              "语文：2 个非数字成绩未计入（(1)班 王五：良好、(2)班 王五：良好）");
    EXPECT_EQ(FieldNotes(group, "总分", kOtherClasses),
              "(3)班的总分只加了 语文、数学（没有 物理），与其他班级不可比。");
    // One table's students go by their own names.
    EXPECT_EQ(FieldNotes({{"(1)班", &withText}}, "语文", kOtherClasses), "语文：1 个非数字成绩未计入（王五：良好）");
    std::string info = "由表格计算";
    AppendNote(info, "甲");
    AppendNote(info, "");
    EXPECT_EQ(info, "由表格计算；甲");
    info = "不可比。";
    AppendNote(info, "乙");
    EXPECT_EQ(info, "不可比。乙");
    EXPECT_EQ(NoMarksInFieldMessage("总分"), "所选字段“总分”在这些表格中没有成绩。");

    struct Case {
        bool offerAverage;
        std::optional<Answer> answer;  // none: nothing asked, only told
        std::optional<std::string> field;
    };
    const std::vector<Case> cases = {
        {true, Answer::Yes, "平均"},
        {true, Answer::No, "总分"},
        {true, Answer::Cancel, std::nullopt},
        {false, std::nullopt, "总分"},
    };
    for (const Case& c : cases) {
        testing::ScriptedPrompter prompter;
        if (c.answer) {
            prompter.answer(*c.answer);
        }
        EXPECT_EQ(ConfirmComparableTotals(group, "总分", kOtherClasses, c.offerAverage, prompter), c.field);
        ASSERT_EQ(prompter.calls().size(), 1u);
        const auto& call = prompter.last();
        EXPECT_EQ(call.text.substr(0, call.text.find('\n')),
                  "(3)班的总分只加了 语文、数学（没有 物理），与其他班级不可比。");
        if (c.answer) {
            EXPECT_EQ(call.captions, (Strings{"使用平均(&A)", "仍然使用总分", "取消"}));
            EXPECT_EQ(call.defaultAnswer, Answer::Yes);
        } else {
            EXPECT_EQ(call.kind, testing::ScriptedPrompter::Call::Message);
        }
    }
    // Agreeing totals ask nothing.
    testing::ScriptedPrompter quiet;
    EXPECT_EQ(ConfirmComparableTotals(group, "语文", kOtherClasses, true, quiet), "语文");
    EXPECT_TRUE(quiet.calls().empty());
}

}  // namespace
}  // namespace scorvane
