// 等级赋分: the band table, the band limits, the band of a rank, the converted score, and the result
// over a grade's classes or one table. Every expected figure is worked out by hand in the comments.
#include "main/analysis/grade_score_assignment.h"

#include <gtest/gtest.h>

#include "main/exchange/csv_export.h"
#include "main/document/cell_value.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using Strings = std::vector<std::string>;

AssignmentBands Bands(std::string_view text) {
    AssignmentBands bands;
    const std::optional<std::string> fault = ReadAssignmentBandsText(text, bands);
    EXPECT_FALSE(fault) << *fault;
    return bands;
}

TEST(AssignmentBands, TheDefaultTableReadsAndWritesAsText) {
    const AssignmentBands bands = DefaultAssignmentBands();
    EXPECT_EQ(AssignmentBandsText(bands), "A=15:100-86,B=35:85-71,C=35:70-56,D=13:55-41,E=2:40-30");
    EXPECT_EQ(AssignmentBandsDescription(bands), "A 15% 100-86，B 35% 85-71，C 35% 70-56，D 13% 55-41，E 2% 40-30");
    const AssignmentBands read = Bands(" A = 15 : 100 - 86 ，B=35%：85-71,C=35:70-56,D=13:55-41,E=2:40-30,");
    EXPECT_EQ(AssignmentBandsText(read), AssignmentBandsText(bands));
    // Shares of hundredths, as provinces write them.
    EXPECT_EQ(AssignmentBandsText(Bands("甲=2.5:100-90,乙=97.45:89-40,丙=0.05:39-30")),
              "甲=2.5:100-90,乙=97.45:89-40,丙=0.05:39-30");
    // A name may hold ":" and "-": the share and the range follow its "=".
    EXPECT_EQ(AssignmentBandsText(Bands("A:1=50:100-51,B-2=50:50-0")), "A:1=50:100-51,B-2=50:50-0");
    const std::vector<BandRowText> rows = BandRowTexts(bands);
    ASSERT_EQ(rows.size(), 5U);
    EXPECT_EQ(rows[1].name + " " + rows[1].share + " " + rows[1].top + " " + rows[1].bottom, "B 35 85 71");
}

TEST(AssignmentBands, AnInvalidTableIsRefusedNamingTheRow) {
    const std::vector<std::pair<std::vector<BandRowText>, std::string>> cases = {
        {{{"A", "50", "100", "80"}, {"", "50", "79", "60"}}, "赋分规则第 2 行：请填写等级名称！"},
        {{{"A", "50", "100", "80"}, {"A", "50", "79", "60"}}, "赋分规则第 2 行（A）的等级名称与第 1 行相同！"},
        {{{"A", "0", "100", "80"}, {"B", "100", "79", "60"}},
         "赋分规则第 1 行（A）：比例必须是大于 0、不超过 100 的数（最多两位小数）！"},
        {{{"A", "12.345", "100", "80"}}, "赋分规则第 1 行（A）：比例必须是大于 0、不超过 100 的数（最多两位小数）！"},
        {{{"A", "50", "80", "100"}, {"B", "50", "79", "60"}},
         "赋分规则第 1 行（A）：赋分区间必须是 0 到 10000 之间的两个整数，高分在前（如 100-86）！"},
        {{{"A", "50", "100", "80.5"}}, "赋分规则第 1 行（A）：赋分区间必须是 0 到 10000 之间的两个整数，高分在前（如 100-86）！"},
        // Overlapping ranges, and a lower band above the one before it. A blank row in between counts.
        {{{"A", "50", "100", "80"}, {}, {"B", "50", "80", "60"}},
         "赋分规则第 3 行（B）的赋分区间 80-60 与第 1 行（A）的 100-80 重叠！"},
        {{{"A", "50", "80", "60"}, {"B", "50", "90", "80"}},  // 80 in both
         "赋分规则第 2 行（B）的赋分区间 90-80 与第 1 行（A）的 80-60 重叠！"},
        {{{"A", "50", "70", "60"}, {"B", "50", "100", "80"}},
         "赋分规则第 2 行（B）的赋分区间 100-80 应低于第 1 行（A）的 70-60（高的等级在前）！"},
        {{{"A", "15", "100", "86"}, {"B", "80", "85", "30"}}, "赋分规则各等级的比例之和是 95%，应为 100%！"},
        {{{}, {}}, "赋分规则中没有等级！"},
    };
    for (const auto& [rows, message] : cases) {
        AssignmentBands out = DefaultAssignmentBands();
        EXPECT_EQ(ReadBandRows(rows, out), message);
        EXPECT_EQ(out.size(), 5U);  // nothing changed
    }
    AssignmentBands out;
    EXPECT_EQ(ReadAssignmentBandsText("A=15:100-86,B=85", out),
              "赋分规则第 2 项“B=85”的写法不正确，应为 等级=比例:最高分-最低分（如 A=15:100-86）！");
    EXPECT_EQ(ReadAssignmentBandsText("A=50:100-80,B=50:90-60", out),
              "赋分规则第 2 项（B）的赋分区间 90-60 与第 1 项（A）的 100-80 重叠！");
    EXPECT_EQ(ReadAssignmentBandsText(" ", out), "赋分规则中没有等级！");
}

TEST(ScoreAssignment, BandLimitsAreTheCumulativeSharesOfTheCountRoundedHalfUp) {
    const AssignmentBands standard = DefaultAssignmentBands();
    const std::vector<std::pair<int, std::vector<int>>> cases = {
        {7, {1, 4, 6, 7, 7}},       // 1.05, 3.5, 5.95, 6.86, 7
        {10, {2, 5, 9, 10, 10}},    // 1.5, 5, 8.5, 9.8, 10
        {1, {0, 1, 1, 1, 1}},       // 0.15, 0.5, 0.85, 0.98, 1
        {20, {3, 10, 17, 20, 20}},  // 3, 10, 17, 19.6, 20
        {0, {0, 0, 0, 0, 0}},
    };
    for (const auto& [count, limits] : cases) {
        EXPECT_EQ(BandLimits(count, standard), limits) << count;
    }
    // 20 × 2.5 % = 0.5 rounds up; the last is the count whatever its share says.
    EXPECT_EQ(BandLimits(20, Bands("X=2.5:100-90,Y=97.5:89-0")), (std::vector<int>{1, 20}));
    EXPECT_EQ(BandLimits(3, Bands("X=33.33:100-90,Y=66.67:89-0")), (std::vector<int>{1, 3}));
}

TEST(ScoreAssignment, TheBandIsTheFirstWhoseLimitReachesTheRank) {
    const std::vector<int> limits = {1, 4, 6, 7, 7};
    const std::vector<std::pair<int, int>> cases = {{1, 0}, {2, 1}, {4, 1}, {5, 2}, {6, 2}, {7, 3}, {0, -1}};
    for (const auto& [rank, band] : cases) {
        EXPECT_EQ(BandOfRank(rank, limits), band) << rank;
    }
    // An empty first band (limit 0) gives its place to the next.
    EXPECT_EQ(BandOfRank(1, {0, 1, 1, 1, 1}), 1);
}

TEST(ScoreAssignment, TheConvertedScoreAtTheBandsEndsBetweenThemAndRoundedHalfUp) {
    struct Case {
        double y, lowest, highest;
        int bottom, top, score;
    };
    const std::vector<Case> cases = {
        {81, 81, 92, 86, 100, 86},    // Y = Y1: T1
        {92, 81, 92, 86, 100, 100},   // Y = Y2: T2
        {85, 81, 92, 86, 100, 91},    // 86 + 4 × 14 ÷ 11 = 91.09
        {71, 70, 74, 71, 85, 75},     // 71 + 1 × 14 ÷ 4 = 74.5: half up
        {73, 70, 74, 71, 85, 82},     // 71 + 3 × 3.5 = 81.5
        {72, 70, 74, 71, 85, 78},     // 78 exactly
        {60.3, 60, 60.4, 86, 100, 97},  // 96.5, which binary fractions make 96.49999999999994
        {60, 60, 60, 30, 40, 40},     // Y2 = Y1: every student gets T2
        {55, 41, 55, 41, 55, 55},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AssignedScore(c.y, c.lowest, c.highest, c.bottom, c.top), c.score) << c.y;
    }
}

TEST(ScoreAssignment, StudentsTiedAcrossALimitStayInTheHigherBandAndMissingMarksHaveNone) {
    // 7 marks: limits 1, 4, 6, 7, 7. Ranks 1, 2, 2, 4, 5, 6, 7.
    const std::vector<std::optional<double>> marks = {95, 88, 88, 80, 72, 60, std::nullopt, 45};
    const FieldAssignment a = AssignScores(marks, DefaultAssignmentBands());
    EXPECT_EQ(a.band, (std::vector<int>{0, 1, 1, 1, 2, 2, -1, 3}));
    // A: 95 alone gets 100; B 80–88 on 71–85; C 60–72 on 56–70; D 45 alone gets 55.
    EXPECT_EQ(a.score, (std::vector<std::optional<int>>{100, 85, 85, 71, 70, 56, std::nullopt, 55}));
    ASSERT_EQ(a.ranges.size(), 5U);
    EXPECT_EQ(a.ranges[1].count, 3);
    EXPECT_EQ(a.ranges[1].lowest, 80);
    EXPECT_EQ(a.ranges[1].highest, 88);
    EXPECT_EQ(a.ranges[4].count, 0);

    // Two students tied at the top of 7: A's limit is 1, yet both are A (ranks 1, 1). The four tied at
    // rank 3 are all B (limit 4), so C (limit 6) stays empty and rank 7 is D.
    const FieldAssignment tied = AssignScores({99, 99, 90, 90, 90, 90, 60}, DefaultAssignmentBands());
    EXPECT_EQ(tied.band, (std::vector<int>{0, 0, 1, 1, 1, 1, 3}));
    EXPECT_EQ(tied.score[2], 85);  // Y2 = Y1 in B
    EXPECT_EQ(tied.score[6], 55);  // alone in D
    EXPECT_EQ(tied.ranges[2].count, 0);
    EXPECT_TRUE(AssignScores({std::nullopt}, DefaultAssignmentBands()).score[0] == std::nullopt);
}

// (1)班 and (2)班 wrote 期中; (3)班 did not. 化学: 95 88 60 | 88 80 72 45 缺考. 生物: 80 缺考 70 | 90 60 良好
// 85 75. 总分 is a formula and no subject.
std::vector<ClassTable> Grade() {
    const Strings titles = {"姓名", "学号", "语文", "化学", "生物", "总分"};
    const std::string total = "！公式：cell(?,3)+cell(?,4)+cell(?,5)";
    std::vector<ClassTable> classes;
    classes.push_back({"(1)班", MakeTable(titles, {{"甲", "01", "90", "95", "80", total},
                                                  {"乙", "02", "85", "88", "缺考", total},
                                                  {"丙", "03", "70", "60", "70", total}})});
    classes.push_back({"(2)班", MakeTable(titles, {{"丁", "04", "80", "88", "90", total},
                                                  {"戊", "05", "75", "80", "60", total},
                                                  {"己", "06", "60", "72", "良好", total},
                                                  {"庚", "07", "88", "45", "85", total},
                                                  {"辛", "08", "66", "缺考", "75", total},
                                                  {}})});
    classes.push_back({"(3)班", std::nullopt});
    return classes;
}

TEST(GradeScoreAssignment, EveryStudentsBandAndScorePerFieldTheTotalOfSubjectsAndItsRank) {
    const std::vector<ClassTable> classes = Grade();
    const ScoreAssignmentSheet sheet =
        GradeScoreAssignment("高一", "期中", classes, {"化学", "生物"}, DefaultAssignmentBands());
    const AnalysisResult r = ScoreAssignmentTable(sheet);
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(r.table->title, "高一 期中 等级赋分");
    // 化学 (7 marks): ranks 甲1 乙2 丁2 戊4 己5 丙6 庚7 → A B B B C C D.
    // 生物 (6 marks; limits 1, 3, 5, 6, 6): 丁1 庚2 甲3 辛4 丙5 戊6 → A B B C C D.
    // 赋分总分 = 语文 + 化学赋分 + 生物赋分: 甲 90+100+71, 丙 70+56+56, 丁 80+85+100, 戊 75+71+55,
    // 庚 88+55+85; 乙, 己 and 辛 miss one.
    const std::vector<Strings> expected = {
        {"班级", "姓名", "学号", "化学原始分", "化学等级", "化学赋分", "生物原始分", "生物等级", "生物赋分", "赋分总分",
         "年级名次"},
        {"(1)班", "甲", "01", "95", "A", "100", "80", "B", "71", "261", "2"},
        {"(1)班", "乙", "02", "88", "B", "85", "缺考", "", "", "", ""},
        {"(1)班", "丙", "03", "60", "C", "56", "70", "C", "56", "182", "5"},
        {"(2)班", "丁", "04", "88", "B", "85", "90", "A", "100", "265", "1"},
        {"(2)班", "戊", "05", "80", "B", "71", "60", "D", "55", "201", "4"},
        {"(2)班", "己", "06", "72", "C", "70", "良好", "", "", "", ""},
        {"(2)班", "庚", "07", "45", "D", "55", "85", "B", "85", "228", "3"},
        {"(2)班", "辛", "08", "缺考", "", "", "75", "C", "70", "", ""},
    };
    EXPECT_EQ(testing::AllRowCells(*r.table), expected);
    EXPECT_EQ(r.table->classInfo,
              "高一 (1)班、(2)班的“期中”，赋分规则：A 15% 100-86，B 35% 85-71，C 35% 70-56，D 13% 55-41，E 2% "
              "40-30；化学：A 95（1 人），B 88-80（3 人），C 72-60（2 人），D 45（1 人），E 无；生物：A 90（1 人），B "
              "85-80（2 人），C 75-70（2 人），D 60（1 人），E 无；生物：1 个非数字成绩未计入（(2)班 己：良好）");
    EXPECT_EQ(r.notice, "以下班级没有表格“期中”，未列入赋分：(3)班");
    // The raw marks stay as they were.
    EXPECT_EQ(classes[0].table->cell(1, 4), "95");
    // The export of any size writes what the table's export writes.
    EXPECT_EQ(ScoreAssignmentCsvBytes(sheet), CsvExportBytes(*r.table, FormulaValues(*r.table)));
}

TEST(GradeScoreAssignment, ClassesWithoutAFieldOrASubjectAreNamedAndTheirStudentsHaveNoTotal) {
    std::vector<ClassTable> classes = Grade();
    classes[1].table = MakeTable({"姓名", "化学"}, {{"丁", "70"}});
    const AnalysisResult r =
        ScoreAssignmentTable(GradeScoreAssignment("高一", "期中", classes, {"生物"}, DefaultAssignmentBands()));
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(r.notice,
              "以下班级没有表格“期中”，未列入赋分：(3)班\n"
              "以下班级的表格“期中”没有字段“生物”，该字段不含这些班级：(2)班\n"
              "以下班级的表格“期中”没有字段“语文、生物”，其学生没有赋分总分：(2)班");
    EXPECT_EQ(testing::Column(*r.table, 2), (Strings{"甲", "乙", "丙", "丁"}));
    EXPECT_EQ(testing::Column(*r.table, 3), (Strings{"01", "02", "03", ""}));
    // 生物 80, 缺考, 70: limits 0, 1, 2, 2, 2, so 80 is B (85, alone) and 70 is C (70, alone). 赋分总分 adds
    // 语文 and the raw 化学: 甲 90 + 95 + 85, 丙 70 + 60 + 70; 丁 has no 语文.
    EXPECT_EQ(testing::Column(*r.table, 5), (Strings{"B", "", "C", ""}));
    EXPECT_EQ(testing::Column(*r.table, 7), (Strings{"270", "", "200", ""}));
    EXPECT_EQ(testing::Column(*r.table, 8), (Strings{"1", "", "2", ""}));
}

TEST(GradeScoreAssignment, OneTableIsTheCohortItsOwnClassFieldNamesTheClass) {
    const GradeTable exam = MakeTable({"班级", "姓名", "化学"},
                                      {{"(1)班", "甲", "70"}, {"", "乙", "80"}, {"(2)班", "丙", "90"}}, "联考");
    const AnalysisResult r =
        ScoreAssignmentTable(TableScoreAssignment(exam, "(9)班", {"化学", "化学"}, Bands("上=50:100-51,下=50:50-0")));
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(r.table->title, "联考 等级赋分");
    EXPECT_EQ(testing::AllRowCells(*r.table),
              (std::vector<Strings>{
                  {"班级", "姓名", "学号", "化学原始分", "化学等级", "化学赋分", "赋分总分", "年级名次"},
                  // 3 marks: limits 1.5 → 2 and 3. 丙 and 乙 on 51–100, 甲 alone gets 50.
                  {"(1)班", "甲", "", "70", "下", "50", "50", "3"},
                  {"(9)班", "乙", "", "80", "上", "51", "51", "2"},
                  {"(2)班", "丙", "", "90", "上", "100", "100", "1"}}));
    EXPECT_EQ(r.table->classInfo.substr(0, r.table->classInfo.find("，")), "由“联考”");
    EXPECT_EQ(r.notice, "");
}

TEST(GradeScoreAssignment, RefusedWithoutTableFieldOrMarksAndBeyondATablesRows) {
    const AssignmentBands bands = DefaultAssignmentBands();
    const std::vector<ClassTable> classes = Grade();
    const std::vector<std::pair<ScoreAssignmentSheet, std::string>> cases = {
        {GradeScoreAssignment("高一", "期中", {{"(3)班", std::nullopt}}, {"化学"}, bands), "本年级没有班级有表格“期中”！"},
        {GradeScoreAssignment("高一", "期中", classes, {}, bands), "请选择需要赋分的字段！"},
        {GradeScoreAssignment("高一", "期中", classes, {"地理"}, bands), "表格中没有字段“地理”！"},
        {TableScoreAssignment(MakeTable({"化学"}, {{"缺考"}, {""}}), "", {"化学"}, bands),
         "所选字段“化学”在这些表格中没有成绩。"},
    };
    for (const auto& [sheet, message] : cases) {
        EXPECT_EQ(sheet.refusal, message);
        EXPECT_EQ(ScoreAssignmentTable(sheet).refusal, message);
    }
    // 2 × 16384 students: more than a table's 32766 rows. The export still writes them all.
    std::vector<ClassTable> big;
    for (const char* name : {"(1)班", "(2)班"}) {
        big.push_back({name, testing::MakeClass(16384, name)});
    }
    const ScoreAssignmentSheet sheet = GradeScoreAssignment("高一", "联考", big, {"语文"}, bands);
    EXPECT_EQ(sheet.rowCount(), 32768U);
    EXPECT_EQ(ScoreAssignmentTable(sheet).refusal, "等级赋分的结果有 32768 名学生，超过一张表格最多能容纳的 32766 行。");
    const std::string csv = ScoreAssignmentCsvBytes(sheet);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 32768 + 3);
}

TEST(GradeScoreAssignment, TheFieldsTickedAtFirstAreTheElectiveSubjects) {
    EXPECT_EQ(DefaultAssignmentFields({"语文", "地理", "物理", "化学", "生物", "政治", "历史"}),
              (Strings{"地理", "化学", "生物", "政治"}));
}

}  // namespace
}  // namespace scorvane
