// The sample school's whole-grade workbook and 任课表 agree with its tables.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "main/analysis/teacher_table.h"
#include "main/document/data_file.h"
#include "main/formula/formula_cell.h"
#include "main/workbook/grade_split.h"
#include "main/workbook/split_templates.h"
#include "support/lock_programs.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

const std::string kSample = SCORVANE_SOURCE_DIR "/examples/";
const std::string kGrade = "表格数据/星河实验中学/高一/";

TEST(SampleGradeWorkbook, ItsSplitGivesTheSamplesLastExamWithTheTemplatesTotalAndAverage) {
    testing::TempDir dir;
    std::filesystem::copy(kSample, dir.path(), std::filesystem::copy_options::recursive);
    const std::string workspace = dir.path() + "/";
    const std::optional<SplitGrade> grade = ReadSplitGrade(workspace + kGrade);
    ASSERT_TRUE(grade);
    const std::string book = workspace + "高一期末考试（全年级）.xlsx";
    const GradeSource source = ReadGradeSource(book);
    ASSERT_TRUE(source.message.empty()) << source.message;
    EXPECT_EQ(OfferedTableName(source, book, "高一"), "期末考试");
    const int classColumn = DefaultClassColumn(source.table);
    ASSERT_EQ(source.table.cell(0, classColumn), "班级");
    const std::vector<OfferedTemplate> templates = OfferedTemplates(workspace + "表格模版/");
    const int chosen = DefaultTemplate(templates, source, classColumn);
    ASSERT_GE(chosen, 0);
    EXPECT_EQ(templates[static_cast<size_t>(chosen)].name, "考试成绩");

    const SplitPlan plan = PlanGradeSplit(source, classColumn, *grade, false);
    EXPECT_TRUE(plan.unmatched.empty());
    ASSERT_EQ(plan.classes.size(), grade->classes.size());
    const SplitLayout layout =
        LayOutSplit(source, classColumn, &templates[static_cast<size_t>(chosen)].fields);
    const LockIdentity me = testing::LockProgram("我", "这台", 1);
    const SplitReport report =
        WriteSplitTables(source, layout, plan, *grade, "期末考试", InspectSplitTargets(plan, "期末考试", me),
                         ExistingAnswer::Overwrite, me);
    ASSERT_EQ(report.classes, static_cast<int>(grade->classes.size()));

    for (const GradeClass& c : grade->classes) {
        GradeTable split;
        GradeTable sample;
        ASSERT_TRUE(ReadDataFile(c.folder + "期末考试.skv", split));
        ASSERT_TRUE(ReadDataFile(kSample + kGrade + c.name + "/期末考试.skv", sample));
        ASSERT_EQ(split.rows(), sample.rows()) << c.name;
        int compared = 0;
        for (int sc = 1; sc < sample.cols(); ++sc) {
            int col = -1;
            for (int k = 1; k < split.cols(); ++k) {
                col = split.cell(0, k) == sample.cell(0, sc) ? k : col;
            }
            if (col < 0) {
                EXPECT_EQ(sample.cell(0, sc), "名次");  // ranked later by the teacher
                continue;
            }
            ++compared;
            for (int r = 1; r < sample.rows(); ++r) {
                EXPECT_EQ(公式2值(split, r, col), 公式2值(sample, r, sc))
                    << c.name << " " << sample.cell(0, sc) << r;
            }
        }
        EXPECT_EQ(compared, sample.cols() - 2);
    }
}

TEST(SampleGradeWorkbook, TheGradesTeachersTeachEverySubjectOneOfThemTwoClasses) {
    const std::optional<SplitGrade> grade = ReadSplitGrade(kSample + kGrade);
    ASSERT_TRUE(grade);
    std::vector<std::string> classes;
    for (const GradeClass& c : grade->classes) {
        classes.push_back(c.name);
    }
    bool unreadable = false;
    const TeacherAssignments teachers = ReadTeacherAssignments(kSample + kGrade, "高一", classes, unreadable);
    ASSERT_FALSE(unreadable);
    int shared = 0;
    for (const std::string& subject : GradeSubjects(grade->classes)) {
        std::vector<std::string> names;
        for (const std::string& c : classes) {
            names.push_back(teachers.teacher(c, subject));
            EXPECT_FALSE(names.back().empty()) << c << subject;
        }
        std::sort(names.begin(), names.end());
        shared += static_cast<int>(names.end() - std::unique(names.begin(), names.end()));
    }
    EXPECT_EQ(shared, 1);
}

}  // namespace
}  // namespace scorvane
