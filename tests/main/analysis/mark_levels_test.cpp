// 等级制: the level schemes, the level of a mark, the levels table and the distribution.
#include "main/analysis/mark_levels.h"

#include <gtest/gtest.h>

#include "main/analysis/grade_tables.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using Strings = std::vector<std::string>;

TEST(LevelScheme, TheReadySchemesAsTextAndInWords) {
    EXPECT_EQ(LevelSchemeText(DefaultLevelScheme()), "优秀=85,良好=70,合格=60,待合格");
    EXPECT_EQ(LevelSchemeText(LetterLevelScheme()), "A=90,B=80,C=70,D=60,E");
    EXPECT_EQ(LevelSchemeDescription(DefaultLevelScheme()), "优秀 85%，良好 70%，合格 60%，待合格 60% 以下");
    LevelScheme read;
    ASSERT_EQ(ReadLevelSchemeText(" 甲 = 90%，乙=75.5, 丙 ,", read), std::nullopt);
    EXPECT_EQ(LevelSchemeText(read), "甲=90,乙=75.5,丙");
    const std::vector<LevelRowText> rows = LevelRowTexts(DefaultLevelScheme());
    ASSERT_EQ(rows.size(), 4U);
    EXPECT_EQ(rows[2].name + rows[2].bound + rows[3].name + rows[3].bound, "合格60待合格");
}

TEST(LevelScheme, AnInvalidSchemeIsRefusedNamingTheRow) {
    const std::vector<std::pair<std::vector<LevelRowText>, std::string>> cases = {
        {{{"优秀", "85"}, {"", "70"}, {"合格", ""}}, "等级方案第 2 行：请填写等级名称！"},
        {{{"优秀", "85"}, {"优秀", "70"}, {"合格", ""}}, "等级方案第 2 行（优秀）的等级名称与第 1 行相同！"},
        {{{"优秀", "85"}, {"良好", "七十"}, {"合格", ""}},
         "等级方案第 2 行（良好）：下限必须是 0 到 100 之间的数（满分的百分比）！"},
        {{{"优秀", "101"}, {"合格", ""}}, "等级方案第 1 行（优秀）：下限必须是 0 到 100 之间的数（满分的百分比）！"},
        {{{"优秀", "85"}, {}, {"良好", "85"}, {"合格", ""}}, "等级方案第 3 行（良好）的下限 85 应低于第 1 行（优秀）的 85！"},
        {{{"优秀", "85"}, {"合格", "60"}},
         "等级方案第 2 行（合格）是最低的等级，不填下限（低于上一等级下限的成绩都属于它）！"},
        {{{"合格", ""}}, "等级方案至少要有两个等级！"},
        {{}, "等级方案至少要有两个等级！"},
    };
    for (const auto& [rows, message] : cases) {
        LevelScheme out = LetterLevelScheme();
        EXPECT_EQ(ReadLevelRows(rows, out), message);
        EXPECT_EQ(out.size(), 5U);  // nothing changed
    }
    LevelScheme out;
    EXPECT_EQ(ReadLevelSchemeText("优秀=85,=60,待合格", out), "等级方案第 2 项：请填写等级名称！");
}

TEST(LevelScheme, AMarkOfExactlyTheBoundIsInTheHigherLevel) {
    const LevelScheme standard = DefaultLevelScheme();
    const std::vector<std::tuple<double, double, size_t>> cases = {
        {85, 100, 0}, {84.99, 100, 1}, {70, 100, 1}, {69.99, 100, 2}, {60, 100, 2}, {59.5, 100, 3},
        {0, 100, 3},  {100, 100, 0},   {120, 100, 0}, {-5, 100, 3},
        // Other full marks: 150 (85 % is 127.5, 60 % is 90) and 112.5 (60 % is 67.5 exactly).
        {127.5, 150, 0}, {127, 150, 1}, {105, 150, 1}, {90, 150, 2}, {89.5, 150, 3}, {67.5, 112.5, 2},
    };
    for (const auto& [mark, full, level] : cases) {
        EXPECT_EQ(LevelOf(standard, mark, full), level) << mark << " of " << full;
    }
    const LevelScheme letters = LetterLevelScheme();
    EXPECT_EQ(letters[LevelOf(letters, 90, 100)].name + letters[LevelOf(letters, 89, 100)].name +
                  letters[LevelOf(letters, 60, 100)].name + letters[LevelOf(letters, 59, 100)].name,
              "ABDE");
}

// 语文 of 100 and 数学 of 150; 乙 missed 语文, 丙 has a text mark; 丁 no 数学; the fifth row is empty.
GradeTable Exam() {
    const std::string total = "！公式：cell(?,3)+cell(?,4)";
    return MakeTable({"姓名", "学号", "语文", "数学", "总分", "名次", "备注"},
                     {{"甲", "01", "85", "127.5", total, "1", "转学"},
                      {"乙", "02", "缺考", "90", total, "3"},
                      {"丙", "03", "良好", "89.5", total, "2"},
                      {"丁", "04", "59.5", "", total},
                      {}},
                     "(1)班期中");
}

AnalysisSettings Settings() {
    AnalysisSettings settings;
    settings.fields = {"语文", "数学"};
    settings.fullMarks = {100, 150};
    return settings;
}

TEST(MarkLevels, EachChosenFieldsLevelBesideTheTextFieldsAndNoRank) {
    const GradeTable exam = Exam();
    const AnalysisResult r = MarkLevels(exam, Settings(), DefaultLevelScheme(), "(1)班");
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(r.table->title, "(1)班期中 等级");
    // 甲: 85 % and 127.5 of 150 (85 %): 优秀 both. 乙: 缺考 stays; 90 of 150 is 60 %. 丙: a text is no
    // mark; 89.5 of 150 is below 60 %. 丁: 59.5; no 数学.
    EXPECT_EQ(testing::AllRowCells(*r.table), (std::vector<Strings>{
                                                  {"班级", "姓名", "学号", "备注", "语文等级", "数学等级"},
                                                  {"(1)班", "甲", "01", "转学", "优秀", "优秀"},
                                                  {"(1)班", "乙", "02", "", "缺考", "合格"},
                                                  {"(1)班", "丙", "03", "", "", "待合格"},
                                                  {"(1)班", "丁", "04", "", "待合格", ""}}));
    EXPECT_EQ(r.table->classInfo,
              "由“(1)班期中”换算，等级：优秀 85%，良好 70%，合格 60%，待合格 60% 以下（满分的百分比）；满分：语文 100，"
              "数学 150；语文：1 个非数字成绩未计入（丙：良好）");
    // Without a class, or with a 班级 field of the table's own, no column is added.
    const AnalysisResult plain = MarkLevels(exam, Settings(), LetterLevelScheme());
    ASSERT_TRUE(plain.table);
    EXPECT_EQ(testing::RowCells(*plain.table, 0), (Strings{"姓名", "学号", "备注", "语文等级", "数学等级"}));
    EXPECT_EQ(testing::RowCells(*plain.table, 1), (Strings{"甲", "01", "转学", "B", "B"}));
    const GradeTable withClass = MakeTable({"班级", "姓名", "语文"}, {{"(2)班", "戊", "70"}}, "联考");
    AnalysisSettings one;
    one.fields = {"语文"};
    one.fullMarks = {100};
    EXPECT_EQ(testing::AllRowCells(*MarkLevels(withClass, one, DefaultLevelScheme(), "(1)班").table),
              (std::vector<Strings>{{"班级", "姓名", "语文等级"}, {"(2)班", "戊", "良好"}}));
}

TEST(MarkLevels, TheDistributionCountsEachLevelOfTheStudentsWithAMark) {
    const AnalysisResult r = LevelDistribution(Exam(), Settings(), DefaultLevelScheme());
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(r.table->title, "(1)班期中 等级分布");
    // 语文: 85 and 59.5 (one 缺考, one text). 数学: 127.5, 90, 89.5.
    EXPECT_EQ(testing::AllRowCells(*r.table),
              (std::vector<Strings>{{"字段", "参考人数", "优秀人数", "优秀比例", "良好人数", "良好比例", "合格人数",
                                     "合格比例", "待合格人数", "待合格比例", "缺考人数"},
                                    {"语文", "2", "1", "50.00%", "0", "0.00%", "0", "0.00%", "1", "50.00%", "1"},
                                    {"数学", "3", "1", "33.33%", "0", "0.00%", "1", "33.33%", "1", "33.33%", "0"}}));
}

TEST(MarkLevels, RefusedWithoutAFieldOrMarks) {
    AnalysisSettings none;
    EXPECT_EQ(MarkLevels(Exam(), none, DefaultLevelScheme()).refusal, "请选择需要统计的字段！");
    AnalysisSettings missing;
    missing.fields = {"物理"};
    missing.fullMarks = {100};
    EXPECT_EQ(LevelDistribution(Exam(), missing, DefaultLevelScheme()).refusal, "表格中没有字段“物理”！");
    AnalysisSettings blank;
    blank.fields = {"备注"};
    blank.fullMarks = {100};
    EXPECT_EQ(MarkLevels(Exam(), blank, DefaultLevelScheme()).refusal, "字段“备注”中没有成绩，不能换算等级！");
}

TEST(ClassOfTableFile, TheClassFolderOfATableInTheDataFolder) {
    EXPECT_EQ(ClassOfTableFile("/w/表格数据/一中/高一/(1)班/期中"), "(1)班");
    EXPECT_EQ(ClassOfTableFile("/w/表格数据/一中/高一/(1)班/期中.skv"), "(1)班");
    EXPECT_EQ(ClassOfTableFile("/w/数据/一中/高一/(1)班/期中"), "");
    EXPECT_EQ(ClassOfTableFile("/tmp/期中"), "");
    EXPECT_EQ(ClassOfTableFile(""), "");
}

}  // namespace
}  // namespace scorvane
