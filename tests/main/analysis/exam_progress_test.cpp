#include "main/analysis/exam_progress.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "main/analysis/analysis_fields.h"
#include "main/document/data_file.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::AllRowCells;
using testing::MakeTable;
using testing::RowCells;
using Strings = std::vector<std::string>;

AnalysisResult Progress(const GradeTable& earlier, const GradeTable& later,
                        const std::string& field = "总分") {
    return ExamProgress(earlier, later, {"月考", "期中", field, DefaultStudentKey({&earlier, &later})});
}

TEST(ExamProgress, MovesLargestFirstTiesByPresentRankThenTheUnrankedThenThoseInOneTableOnly) {
    // Earlier ranks: 甲 1, 乙 and 丙 2, 戊 4, 庚 5, 丁 none. Later: 甲 1, 乙 2, 丙 3, 庚 4, 丁 5, 己 6.
    const GradeTable earlier = MakeTable({"姓名", "学号", "总分"}, {{"甲", "01", "300"},
                                                                    {"乙", "02", "280"},
                                                                    {"丙", "03", "280"},
                                                                    {"丁", "04", "缺考"},
                                                                    {"戊", "05", "250"},
                                                                    {"庚", "07", "200"}});
    GradeTable later = MakeTable({"姓名", "学号", "总分"},
                                 {{"丙", "03", "290"},
                                  {"乙", "02", "310"},
                                  {"甲", "01", "！公式：300+20"},
                                  {"庚", "07", "280"},
                                  {"丁", "04", "270"},
                                  {"己", "06", "260"}},
                                 "期中考试");
    const AnalysisResult r = Progress(earlier, later);
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(r.table->title, "期中考试 进退步（对比 月考）");
    EXPECT_EQ(r.table->classInfo,
              "前次“月考”，本次“期中”，按“总分”排名，按“学号”对应学生；新增 1 人，未参加 1 人");
    EXPECT_EQ(AllRowCells(*r.table),
              (std::vector<Strings>{
                  {"姓名", "学号", "前次名次", "本次名次", "进退", "前次总分", "本次总分", "分差"},
                  {"庚", "07", "5", "4", "1", "200", "280", "80.00"},
                  {"甲", "01", "1", "1", "0", "300", "320", "20.00"},
                  {"乙", "02", "2", "2", "0", "280", "310", "30.00"},
                  {"丙", "03", "2", "3", "-1", "280", "290", "10.00"},
                  {"丁", "04", "", "5", "", "缺考", "270", ""},
                  {"己", "06", "", "6", "", "", "260", ""},
                  {"戊", "05", "4", "", "", "250", "", ""},
              }));
}

TEST(ExamProgress, StudentsMatchBy学号ElseBy姓名AndDuplicateKeysAreRefused) {
    const GradeTable earlier =
        MakeTable({"姓名", "学号", "语文"}, {{"张三", "01", "80"}, {"李四", "", "70"}, {"王五", "03", "60"}});
    const GradeTable later = MakeTable({"姓名", "学号", "语文"},
                                       {{"张三", "09", "85"}, {"李四", " ", "75"}, {"王五", "03", "65"}});
    // The same 学号 is the same student; without one, the same 姓名; 张三 changed 学号 and is two students.
    AnalysisResult r = Progress(earlier, later, "语文");
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(AllRowCells(*r.table),
              (std::vector<Strings>{
                  {"姓名", "学号", "前次名次", "本次名次", "进退", "前次语文", "本次语文", "分差"},
                  {"李四", " ", "2", "2", "0", "70", "75", "5.00"},
                  {"王五", "03", "3", "3", "0", "60", "65", "5.00"},
                  {"张三", "09", "", "1", "", "", "85", ""},
                  {"张三", "01", "1", "", "", "80", "", ""},
              }));

    // A table without 学号: every student by 姓名, and no 学号 column.
    const GradeTable byName = MakeTable({"姓名", "语文"}, {{"王五", "90"}, {"张三", "70"}});
    r = Progress(earlier, byName, "语文");
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(RowCells(*r.table, 0),
              (Strings{"姓名", "前次名次", "本次名次", "进退", "前次语文", "本次语文", "分差"}));
    EXPECT_EQ(RowCells(*r.table, 1), (Strings{"王五", "3", "1", "2", "60", "90", "30.00"}));
    EXPECT_EQ(RowCells(*r.table, 2), (Strings{"张三", "1", "2", "-1", "80", "70", "-10.00"}));
    EXPECT_EQ(RowCells(*r.table, 3), (Strings{"李四", "2", "", "", "70", "", ""}));

    const std::vector<std::pair<GradeTable, std::string>> refused = {
        {MakeTable({"姓名", "学号", "语文"}, {{"甲", "01", "1"}, {"乙", "02", "2"}, {"丙", "02", "3"}}),
         "表格“期中”第 2 行和第 3 行的学号都是“02”，无法对应学生！"},
        {MakeTable({"姓名", "学号", "语文"}, {{"甲", "", "1"}, {"乙", "02", "2"}, {"甲", "", "3"}}),
         "表格“期中”第 1 行和第 3 行的姓名都是“甲”，无法对应学生！"},
        {MakeTable({"姓名", "数学"}, {{"甲", "1"}}), "表格“期中”中没有字段“语文”！"},
    };
    for (const auto& [table, message] : refused) {
        r = Progress(earlier, table, "语文");
        EXPECT_FALSE(r.table);
        EXPECT_EQ(r.refusal, message);
    }
    // A key the user names must be in both tables.
    r = ExamProgress(earlier, later, {"月考", "期中", "语文", ChosenStudentKey("考号")});
    EXPECT_EQ(r.refusal, "表格“月考”中没有字段“考号”！");
    r = ExamProgress(earlier, later, {"月考", "期中", "语文", ChosenStudentKey("")});
    EXPECT_EQ(r.refusal, "请选择对应学生所依据的字段！");
}

TEST(ExamProgress, AStudentWithoutMarksYetIsNotRankedAndKeysAreReadAsTheyStand) {
    // 甲's subjects are not typed in yet at 期中: the total computes 0 but is no mark. 乙's 学号 has a blank
    // after it; 丙 (学号 02) and the student named "02" without 学号 are two students.
    const std::string total = "！公式：cell(?,3)+cell(?,4)";
    const GradeTable earlier = MakeTable({"姓名", "学号", "语文", "数学", "总分"},
                                         {{"甲", "01", "90", "90", total},
                                          {"乙", "03", "80", "70", total},
                                          {"丙", "02", "60", "60", total}});
    const GradeTable later = MakeTable({"姓名", "学号", "语文", "数学", "总分"},
                                       {{"甲", "01", "", "", total},
                                        {"乙", "03 ", "85", "70", total},
                                        {"02", "", "50", "50", total}});
    AnalysisResult r = Progress(earlier, later);
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(AllRowCells(*r.table),
              (std::vector<Strings>{
                  {"姓名", "学号", "前次名次", "本次名次", "进退", "前次总分", "本次总分", "分差"},
                  {"乙", "03 ", "2", "1", "1", "150", "155", "5.00"},
                  {"甲", "01", "1", "", "", "180", "", ""},
                  {"02", "", "", "2", "", "", "100", ""},
                  {"丙", "02", "3", "", "", "120", "", ""},
              }));

    // A chosen key shows its column; empty in both tables it matches nobody (乙 is no student to rank), and
    // never falls back to 姓名.
    const GradeTable before = MakeTable({"姓名", "考号", "语文"}, {{"甲", "A1", "80"}, {"乙", "", "70"}});
    const GradeTable after = MakeTable({"姓名", "考号", "语文"}, {{"乙", "", "90"}, {"甲", "A1", "60"}});
    r = ExamProgress(before, after, {"月考", "期中", "语文", ChosenStudentKey("考号")});
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(AllRowCells(*r.table),
              (std::vector<Strings>{
                  {"姓名", "考号", "前次名次", "本次名次", "进退", "前次语文", "本次语文", "分差"},
                  {"甲", "A1", "1", "1", "0", "80", "60", "-20.00"},
              }));

    // A field with no mark in either table says so and makes nothing.
    const GradeTable blank = MakeTable({"姓名", "语文", "总分"}, {{"甲", "", "！公式：cell(?,2)"}});
    r = Progress(blank, blank);
    EXPECT_FALSE(r.table);
    EXPECT_EQ(r.refusal, "所选字段“总分”在这些表格中没有成绩。");
}

TEST(ExamProgress, TheWindowOffersTheFieldsBothTablesHaveAndKeysThatHoldNoMarks) {
    const GradeTable earlier =
        MakeTable({"姓名", "学号", "考号", "语文", "总分"}, {{"甲", "01", "A1", "80", "170"}});
    const GradeTable later =
        MakeTable({"姓名", "考号", "学号", "数学", "语文"}, {{"甲", "A1", "01", "90", "95"}});
    EXPECT_EQ(CommonFields({&earlier, &later}), (Strings{"姓名", "学号", "考号", "语文"}));
    EXPECT_EQ(StudentKeyChoices({&earlier, &later}), (Strings{"姓名", "学号", "考号"}));
}

TEST(ExamProgress, EarlierTableChoicesAreThoseHeldBeforeNearestFirstThenThoseAfter) {
    testing::TempDir dir;
    namespace fs = std::filesystem;
    const fs::file_time_type now = fs::file_time_type::clock::now();
    const std::vector<std::pair<std::string, int>> ages = {
        {"期中", 0}, {"月考", 50}, {"期末", 100}, {"周测", 200}};
    for (const auto& [name, age] : ages) {
        ASSERT_TRUE(WriteDataFile(MakeTable({"语文"}, {{"1"}}), dir.file(name)));
        fs::last_write_time(dir.file(name + ".skv"), now - std::chrono::hours(age));
    }
    EXPECT_EQ(EarlierTableChoices(dir.file("期末")), (Strings{"周测", "月考", "期中"}));
    EXPECT_EQ(EarlierTableChoices(dir.file("期中")), (Strings{"月考", "期末", "周测"}));
}

}  // namespace
}  // namespace scorvane
