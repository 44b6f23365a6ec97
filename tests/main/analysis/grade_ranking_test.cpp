#include "main/analysis/grade_ranking.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "main/analysis/competition_rank.h"
#include "main/analysis/grade_tables.h"
#include "main/analysis/result_table.h"
#include "main/document/data_file.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using Strings = std::vector<std::string>;

TEST(CompetitionRanks, EqualValuesShareARankTheNextIsSkippedAndNoValueHasNone) {
    using Values = std::vector<std::optional<double>>;
    const std::vector<std::pair<Values, std::vector<int>>> cases = {
        {{}, {}},
        {{std::nullopt}, {0}},
        {{70, 90, 90, 80}, {4, 1, 1, 3}},
        {{5, std::nullopt, 5, 5, -1}, {1, 0, 1, 1, 4}},
        {{0.5, 0.25, std::nullopt, 0.5}, {1, 3, 0, 1}},
    };
    for (const auto& [values, ranks] : cases) {
        EXPECT_EQ(CompetitionRanks(values), ranks);
    }
}

// (1)班: 学号 and 语文, 甲's 总分 a formula; (2)班 without the table; (3)班 without 学号 and 语文, with
// 物理 that (1)班 lacks, and an empty row.
std::vector<ClassTable> Grade() {
    std::vector<ClassTable> classes;
    classes.push_back(
        {"(1)班", MakeTable({"姓名", "学号", "语文", "总分"}, {{"甲", "01", "80", "！公式：cell(?,3)+100"},
                                                               {"乙", "02", "90", "190"},
                                                               {"丙", "03", "缺考", "缺考"}})});
    classes.push_back({"(2)班", std::nullopt});
    classes.push_back({"(3)班", MakeTable({"姓名", "总分", "物理", "年级名次"},
                                          {{"丁", "190", "70", "9"}, {"戊", "200", "60"}, {}})});
    return classes;
}

TEST(GradeRanking, EveryStudentRankedInClassAndGradeTiesInClassOrderUnrankedLast) {
    const std::vector<ClassTable> classes = Grade();
    ASSERT_EQ(DefaultGradeRankField(classes), "总分");
    const AnalysisResult r = GradeRanking("高一", "期中", classes, "总分");
    ASSERT_TRUE(r.table) << r.refusal;
    const GradeTable& t = *r.table;
    EXPECT_EQ(t.title, "高一 期中 年级排名");
    EXPECT_EQ(t.classInfo, "高一 (1)班、(3)班的“期中”，按“总分”排名");
    EXPECT_EQ(r.notice, "以下班级没有表格“期中”，未列入排名：(2)班");
    // 戊 200; 乙 and 丁 190 share 2 in class order; 甲 180 is 4th; 丙 has no 总分.
    const std::vector<Strings> expected = {
        {"班级", "姓名", "学号", "语文", "总分", "物理", "班级名次", "年级名次"},
        {"(3)班", "戊", "", "", "200", "60", "1", "1"},
        {"(1)班", "乙", "02", "90", "190", "", "1", "2"},
        {"(3)班", "丁", "", "", "190", "70", "2", "2"},
        {"(1)班", "甲", "01", "80", "180", "", "2", "4"},
        {"(1)班", "丙", "03", "缺考", "缺考", "", "", ""},
    };
    EXPECT_EQ(testing::AllRowCells(t), expected);
}

TEST(GradeRanking, DefaultFieldAndRefusals) {
    std::vector<ClassTable> classes = Grade();
    classes[2].table = MakeTable({"姓名", "物理"}, {{"丁", "70"}});
    // 总分 is not in every class: the first field with numbers (学号 is an identifier).
    EXPECT_EQ(DefaultGradeRankField(classes), "语文");
    // 物理: (1)班's students have no rank, and the notice says why.
    const AnalysisResult physics = GradeRanking("高一", "期中", classes, "物理");
    ASSERT_TRUE(physics.table);
    EXPECT_EQ(physics.table->title, "高一 期中 物理 年级排名");
    EXPECT_EQ(testing::Column(*physics.table, 8), (Strings{"1", "", "", ""}));
    EXPECT_EQ(physics.notice,
              "以下班级没有表格“期中”，未列入排名：(2)班\n"
              "以下班级的表格“期中”没有字段“物理”，其学生没有名次：(1)班");
    EXPECT_EQ(GradeRanking("高一", "期中", classes, "英语").refusal, "表格中没有字段“英语”！");
    EXPECT_EQ(GradeRanking("高一", "期中", classes, "").refusal, "请选择排名所依据的字段！");
    EXPECT_EQ(GradeRanking("高一", "月考", {{"(1)班", std::nullopt}}, "总分").refusal,
              "本年级没有班级有表格“月考”！");
    EXPECT_FALSE(GradeRanking("高一", "月考", {{"(1)班", std::nullopt}}, "总分").table);
}

TEST(GradeRanking, AStudentWithoutMarksIsUnrankedATextMarkIsNamedAndAFieldWithoutMarksRefused) {
    const std::string total = "！公式：cell(?,2)+cell(?,3)";
    std::vector<ClassTable> classes;
    classes.push_back({"(1)班", MakeTable({"姓名", "语文", "数学", "总分"},
                                          {{"甲", "", "", total}, {"乙", "90", "80", total}})});
    classes.push_back({"(2)班", MakeTable({"姓名", "语文", "数学", "总分"},
                                          {{"丙", "良好", "70", total}, {"丁", "0", "", total}})});
    const AnalysisResult r = GradeRanking("高一", "期中", classes, "总分");
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(testing::Column(*r.table, 1), (Strings{"(1)班", "(2)班", "(1)班", "(2)班"}));
    EXPECT_EQ(testing::Column(*r.table, 2), (Strings{"乙", "丁", "甲", "丙"}));
    // 丁's total of a typed 0 is a mark, shown as the data format shows 0; 甲's of nothing is none.
    EXPECT_EQ(testing::Column(*r.table, 5), (Strings{"170", "", "", "公式错误"}));
    EXPECT_EQ(testing::Column(*r.table, 7), (Strings{"1", "2", "", ""}));
    EXPECT_EQ(r.table->classInfo, "高一 (1)班、(2)班的“期中”，按“总分”排名");
    EXPECT_EQ(GradeRanking("高一", "期中", classes, "语文").table->classInfo,
              "高一 (1)班、(2)班的“期中”，按“语文”排名；语文：1 个非数字成绩未计入（(2)班 丙：良好）");
    for (ClassTable& c : classes) {
        c.table->setCell(2, 2, "");
        c.table->setCell(1, 2, "");
        c.table->setCell(1, 3, "");
        c.table->setCell(2, 3, "");
    }
    EXPECT_EQ(GradeRanking("高一", "期中", classes, "总分").refusal, "所选字段“总分”在这些表格中没有成绩。");
}

TEST(GradeRanking, AGradeOfMoreStudentsThanATableHoldsIsRefusedNotCut) {
    std::vector<ClassTable> classes;
    for (const char* name : {"(1)班", "(2)班"}) {
        classes.push_back({name, testing::MakeClass(16384, name)});
    }
    const AnalysisResult r = GradeRanking("高一", "联考", classes, "语文");
    EXPECT_FALSE(r.table);
    EXPECT_EQ(r.refusal, "年级排名的结果有 32768 名学生，超过一张表格最多能容纳的 32766 行。");
    // A result table never holds more rows than a table can.
    const GradeTable t = ResultTable("T", {"语文"}, std::vector<std::vector<std::string>>(40000, {"1"}));
    EXPECT_EQ(t.rows(), GradeTable::kMaxCount);
    EXPECT_EQ(t.cell(t.rows() - 1, 1), "1");
}

TEST(GradeRanking, TablesOfTheGradeMostHeldFirstEqualCountsLatestFirst) {
    testing::TempDir dir;
    const std::vector<std::pair<std::string, Strings>> held = {
        {"(1)班", {"期中", "月考"}}, {"(2)班", {"期中", "期末"}}, {"(3)班", {"期中", "期末", "月考"}}};
    std::vector<GradeClass> classes;
    for (const auto& [name, tables] : held) {
        for (const std::string& table : tables) {
            ASSERT_TRUE(WriteDataFile(MakeTable({"语文"}, {{"1"}}), dir.file(name + "/" + table)));
            // 月考 was held first, then 期中, then 期末.
            const int hoursAgo = table == "月考" ? 20 : table == "期中" ? 10 : 5;
            std::filesystem::last_write_time(dir.file(name + "/" + table + ".skv"),
                                             std::filesystem::file_time_type::clock::now() -
                                                 std::chrono::hours(hoursAgo));
        }
        classes.push_back({name, dir.file(name) + "/"});
    }
    classes.push_back({"(4)班", ""});
    Strings texts;
    for (const GradeTableCount& entry : GradeTablesByClassCount(classes)) {
        texts.push_back(GradeTableCountText(entry));
    }
    // Equal counts: the latest exam first.
    EXPECT_EQ(texts, (Strings{"期中（3 个班）", "期末（2 个班）", "月考（2 个班）"}));
}

}  // namespace
}  // namespace scorvane
