#include <gtest/gtest.h>

#include <set>

#include "common/file_io.h"
#include "main/analysis/grade_score_assignment.h"
#include "main/analysis/grade_tables.h"
#include "main/document/data_file.h"
#include "main/document/field_template.h"
#include "main/workspace/class_folder.h"
#include "main/workspace/school_tree.h"
#include "main/workspace/workspace_folder.h"
#include "support/scoped_program_folder.h"

namespace scorvane {
namespace {

// The sample school in examples/ must read with the system's own readers.
TEST(SampleSchoolTest, AGradeOfThreeClassesWithThreeTablesEachAndATemplate) {
    testing::ScopedProgramFolder workspace(SCORVANE_SOURCE_DIR "/examples");
    std::vector<std::string> classes;
    for (const SchoolNode& node : AddDot().nodes) {
        if (IsClassNodeKey(node.key)) {
            classes.push_back(node.fullPath);
        }
    }
    EXPECT_EQ(classes, (std::vector<std::string>{"星河实验中学/高一/(1)班", "星河实验中学/高一/(2)班",
                                                 "星河实验中学/高一/(3)班", "星河实验中学/高二/(1)班"}));
    for (size_t k = 0; k < 3; ++k) {
        std::vector<std::string> tables = ListTables(ClassFolder(classes[k]));
        EXPECT_EQ(tables, (std::vector<std::string>{"第一次月考", "期末考试", "期中考试"}));
        for (const std::string& name : tables) {
            GradeTable table;
            ASSERT_TRUE(
                ParseDataFile(ReadWholeFile(ClassTablePath(classes[k], name) + ".skv").value_or(""), table));
            EXPECT_GE(table.rows(), 41);
            EXPECT_LE(table.rows(), 51);
            // (3)班 wrote its 期中考试 without 物理.
            const bool physics = !(k == 2 && name == "期中考试");
            EXPECT_EQ(table.cell(0, 6) == "物理", physics) << classes[k] << name;
            EXPECT_EQ(table.cell(0, table.cols() - 1), "名次");
        }
    }
    GradeTable first;
    ASSERT_TRUE(
        ParseDataFile(ReadWholeFile(ClassTablePath(classes[0], "期中考试") + ".skv").value_or(""), first));
    EXPECT_EQ(first.rows(), 46);
    EXPECT_EQ(first.cell(0, 8), "生物");
    EXPECT_EQ(first.cell(45, 9), "！公式：cell(?,3)+cell(?,4)+cell(?,5)+cell(?,6)+cell(?,7)+cell(?,8)");
    std::optional<FieldTemplate> fields = ReadFieldTemplate(TemplateFolder() + "考试成绩.templet");
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->titles.size(), 11u);
}

// 化学 and 生物 spread so that 等级赋分 of the grade puts students in each of the five bands, in every exam.
TEST(SampleSchoolTest, TheGradesElectiveSubjectsFillEveryBand) {
    testing::ScopedProgramFolder workspace(SCORVANE_SOURCE_DIR "/examples");
    const std::optional<GradeFolder> grade = ReadGradeFolder(DataFolder() + "星河实验中学/高一");
    ASSERT_TRUE(grade.has_value());
    for (const char* exam : {"第一次月考", "期中考试", "期末考试"}) {
        const std::vector<ClassTable> classes = LoadClassTables(grade->classes, exam);
        const AnalysisResult r = ScoreAssignmentTable(
            GradeScoreAssignment(grade->grade, exam, classes, {"化学", "生物"}, DefaultAssignmentBands()));
        ASSERT_TRUE(r.table) << r.refusal;
        for (int col : {5, 8}) {  // 化学等级, 生物等级
            std::set<std::string> bands;
            for (int row = 1; row < r.table->rows(); ++row) {
                bands.insert(r.table->cell(row, col));
            }
            bands.erase("");
            EXPECT_EQ(bands, (std::set<std::string>{"A", "B", "C", "D", "E"})) << exam << r.table->cell(0, col);
        }
    }
}

}  // namespace
}  // namespace scorvane
