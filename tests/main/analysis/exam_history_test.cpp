#include "main/analysis/exam_history.h"

#include <gtest/gtest.h>

#include "main/document/cell_value.h"
#include "main/document/data_file.h"
#include "main/printing/charts.h"
#include "support/recording_surface.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::AllRowCells;
using testing::MakeTable;
using testing::RowCells;
using Strings = std::vector<std::string>;

// 丙 misses 期中, 丁 comes in 期中; 期末 has no 学号, so students are matched by 姓名.
std::vector<NamedTable> Exams() {
    return {
        {"月考", MakeTable({"姓名", "学号", "总分"},
                           {{"甲", "01", "300"}, {"乙", "02", "280"}, {"丙", "03", "280"}})},
        {"期中", MakeTable({"姓名", "学号", "总分"},
                           {{"乙", "02", "310"}, {"甲", "01", "290"}, {"丁", "04", "300"}})},
        {"期末", MakeTable({"姓名", "总分"}, {{"甲", "！公式：330"}, {"乙", "缺考"}, {"丙", "300"}, {}})}};
}

TEST(ExamHistory, EachTableAColumnOfValuesOrRanksEmptyWhereAStudentIsMissing) {
    const std::vector<NamedTable> exams = Exams();
    ASSERT_EQ(DefaultHistoryField(exams), "总分");
    AnalysisResult r = ExamHistory("(1)班", exams, {"总分", false});
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(r.table->title, "(1)班 总分 历次成绩");
    EXPECT_EQ(AllRowCells(*r.table), (std::vector<Strings>{{"姓名", "月考", "期中", "期末"},
                                                           {"甲", "300", "290", "330"},
                                                           {"乙", "280", "310", "缺考"},
                                                           {"丙", "280", "", "300"},
                                                           {"丁", "", "300", ""}}));
    r = ExamHistory("(1)班", exams, {"总分", true});
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(r.table->title, "(1)班 总分名次 历次成绩");
    EXPECT_EQ(r.table->classInfo, "(1)班 月考、期中、期末的“总分”名次，按“姓名”对应学生");
    EXPECT_EQ(AllRowCells(*r.table), (std::vector<Strings>{{"姓名", "月考", "期中", "期末"},
                                                           {"甲", "1", "3", "1"},
                                                           {"乙", "2", "1", ""},
                                                           {"丙", "2", "", "2"},
                                                           {"丁", "", "2", ""}}));

    // With 学号 in every table it is the key and a column.
    r = ExamHistory("(1)班", {exams[0], exams[1]}, {"总分", true});
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(RowCells(*r.table, 0), (Strings{"姓名", "学号", "月考", "期中"}));
    EXPECT_EQ(RowCells(*r.table, 4), (Strings{"丁", "04", "", "2"}));
}

TEST(ExamHistory, OnlyMarksAreRankedAndATotalOfOtherSubjectsIsNamed) {
    // 期中: an unnamed row of 400 is no student; 乙's marks are not typed in yet; the total of 期中 has
    // no 物理.
    const std::vector<NamedTable> exams = {
        {"月考", MakeTable({"姓名", "语文", "物理", "总分"}, {{"甲", "90", "90", "！公式：cell(?,2)+cell(?,3)"},
                                                            {"乙", "80", "90", "！公式：cell(?,2)+cell(?,3)"}})},
        {"期中", MakeTable({"姓名", "语文", "总分"},
                           {{"甲", "300", "！公式：cell(?,2)"}, {"", "400", "！公式：cell(?,2)"},
                            {"乙", "", "！公式：cell(?,2)"}})}};
    const AnalysisResult r = ExamHistory("(1)班", exams, {"总分", true});
    ASSERT_TRUE(r.table) << r.refusal;
    EXPECT_EQ(AllRowCells(*r.table),
              (std::vector<Strings>{{"姓名", "月考", "期中"}, {"甲", "1", "1"}, {"乙", "2", ""}}));
    EXPECT_EQ(ExamHistory("(1)班", exams, {"总分", false}).table->cell(2, 3), "");
    EXPECT_EQ(r.table->classInfo,
              "(1)班 月考、期中的“总分”名次，按“姓名”对应学生；"
              "期中的总分只加了 语文（没有 物理），与其他考试不可比。");
    const std::vector<NamedTable> blank = {
        {"月考", MakeTable({"姓名", "语文", "总分"}, {{"甲", "", "！公式：cell(?,2)"}})}};
    EXPECT_EQ(ExamHistory("(1)班", blank, {"总分", true}).refusal, "所选字段“总分”在这些表格中没有成绩。");
}

TEST(ExamHistory, Refusals) {
    std::vector<NamedTable> exams = Exams();
    EXPECT_EQ(ExamHistory("(1)班", {}, {"总分", false}).refusal, "本班级还没有表格！");
    EXPECT_EQ(ExamHistory("(1)班", exams, {"物理", false}).refusal, "表格中没有字段“物理”！");
    EXPECT_EQ(ExamHistory("(1)班", exams, {"", false}).refusal, "请选择排名所依据的字段！");
    exams[1].table.setCell(3, 2, "02");
    EXPECT_EQ(ExamHistory("(1)班", {exams[0], exams[1]}, {"总分", false}).refusal,
              "表格“期中”第 1 行和第 3 行的学号都是“02”，无法对应学生！");

    testing::TempDir dir;
    ASSERT_TRUE(WriteDataFile(exams[0].table, dir.file("月考")));
    testing::WriteBytes(dir.file("期中.skv"), "不是表格");
    std::vector<NamedTable> loaded;
    EXPECT_EQ(LoadClassExams(dir.path() + "/", {"月考", "期中"}, loaded), "表格“期中”无法读取！");
    EXPECT_EQ(LoadClassExams(dir.path() + "/", {"期末"}, loaded), "找不到表格“期末”！");
    EXPECT_TRUE(loaded.empty());
    EXPECT_EQ(LoadClassExams(dir.path() + "/", {"月考"}, loaded), std::nullopt);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].name, "月考");
}

// The chart window draws the ranks as each student's course: the table's first field names the rows,
// its other fields are the exams, and the smaller-is-higher line chart puts rank 1 near the top.
TEST(ExamHistory, TheLineChartReadsTheRanksAsACourse) {
    const AnalysisResult r = ExamHistory("(1)班", Exams(), {"总分", true});
    ASSERT_TRUE(r.table);
    const GradeTable& t = *r.table;
    ChartData data;
    data.rows = {1, 3};
    data.rowLabels = {t.cell(1, 1), t.cell(3, 1)};
    data.fields = {2, 3, 4};
    data.fieldNames = {t.cell(0, 2), t.cell(0, 3), t.cell(0, 4)};
    data.maximum = 4;
    testing::RecordingSurface picture{testing::RecordingSurface::Kind::Picture};
    DrawLineChartDown(picture, 1, ChartOutput::Preview, data, FormulaValues(t));
    std::vector<double> heights;
    for (const auto& op : picture.ops(testing::RecordingSurface::Op::Circle)) {
        heights.push_back(op.y1);
    }
    // 甲: 1, 3, 1; 丙: 2, (missing: 0, on the top line), 2. y = 3500 × rank ÷ 4.
    EXPECT_EQ(heights, (std::vector<double>{875, 2625, 875, 1750, 0, 1750}));
    EXPECT_TRUE(picture.hasText("期中"));
    EXPECT_TRUE(picture.hasText("丙"));
}

}  // namespace
}  // namespace scorvane
