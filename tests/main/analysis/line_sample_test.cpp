#include <gtest/gtest.h>

#include "main/analysis/analysis_fields.h"
#include "main/analysis/borderline_students.h"
#include "main/analysis/grade_ranking.h"
#include "main/analysis/grade_tables.h"
#include "main/analysis/line_analysis.h"
#include "main/analysis/line_grade.h"
#include "main/analysis/field_marks.h"

namespace scorvane {
namespace {

// The sample school's 高一 with the line windows' first choices on its latest exam (期末考试, which the
// windows choose once the tables carry their exam dates): every class has students reaching the line,
// and 临界生 on both sides of it.
TEST(LineSample, TheWindowsFirstChoicesShowEveryClassOnBothSidesOfTheLine) {
    const std::optional<GradeFolder> grade = ReadGradeFolder(SCORVANE_SOURCE_DIR "/examples/表格数据/星河实验中学/高一");
    ASSERT_TRUE(grade);
    const std::vector<ClassTable> classes = LoadClassTables(grade->classes, "期末考试");
    LineChoice choice;
    choice.total = DefaultGradeRankField(classes);
    choice.subjects = SubjectFieldsOfTables(PresentTables(classes));
    choice.lines = {*DefaultTierLine(static_cast<int>(GradeTotals(classes, choice.total).size()))};
    EXPECT_EQ(choice.total, "总分");
    EXPECT_FALSE(choice.subjects.empty());

    const AnalysisResult lines = LineAnalysis(grade->grade, "期末考试", classes, choice);
    ASSERT_TRUE(lines.table) << lines.refusal;
    for (int r = 1; r < lines.table->rows() - 1; ++r) {
        EXPECT_GT(std::stoi(std::string(lines.table->cell(r, 3))), 0) << lines.table->cell(r, 1);
    }
    const AnalysisResult near = BorderlineStudents(grade->grade, "期末考试", classes, choice, "一本", {});
    ASSERT_TRUE(near.table) << near.refusal;
    for (const ClassTable& c : classes) {
        int below = 0;
        int above = 0;
        for (int r = 1; r < near.table->rows(); ++r) {
            if (near.table->cell(r, 1) == c.name) {
                double distance = 0;
                ASSERT_TRUE(ReadMark(near.table->cell(r, 5), distance));
                (distance < 0 ? below : above) += 1;
            }
        }
        EXPECT_GT(below, 0) << c.name;
        EXPECT_GT(above, 0) << c.name;
    }
}

}  // namespace
}  // namespace scorvane
