#include "main/analysis/teacher_table.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "main/document/data_file.h"
#include "main/workspace/class_folder.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using Strings = std::vector<std::string>;

TEST(TeacherTable, MadeOnceInTheGradesFolderWithItsClassesAndTheSubjectsOfItsMostCommonTable) {
    testing::TempDir dir;
    const std::string grade = dir.path() + "/高一/";
    const std::vector<GradeClass> classes = {{"(1)班", grade + "(1)班/"}, {"(2)班", grade + "(2)班/"}};
    // 期中 in both classes (总分 computed, 学号 an identifier), 月考 in one.
    for (const GradeClass& c : classes) {
        ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "学号", "语文", "数学", "总分"},
                                            {{"甲", "1", "80", "90", "！公式：cell(?,3)+cell(?,4)"}}),
                                  c.folder + "期中"));
    }
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "英语"}, {{"甲", "70"}}), classes[0].folder + "月考"));
    EXPECT_EQ(GradeSubjects(classes), (Strings{"语文", "数学"}));

    testing::ScriptedPrompter prompter;
    const std::string path = PrepareTeacherTable(grade, "高一", classes, prompter);
    EXPECT_EQ(path, grade + "任课表");
    GradeTable made;
    ASSERT_TRUE(ReadDataFile(path + ".skv", made));
    EXPECT_EQ(made.title, "高一任课表");
    EXPECT_EQ(testing::AllRowCells(made),
              (std::vector<Strings>{{"班级", "语文", "数学"}, {"(1)班", "", ""}, {"(2)班", "", ""}}));
    // The table is the grade's, never one of a class's tables.
    EXPECT_EQ(ListTables(classes[0].folder), (Strings{"期中", "月考"}));
    // Once made it is kept as the teacher filled it in.
    made.setCell(1, 2, "张老师");
    ASSERT_TRUE(WriteDataFile(made, path));
    EXPECT_EQ(PrepareTeacherTable(grade, "高一", classes, prompter), path);
    ASSERT_TRUE(ReadDataFile(path + ".skv", made));
    EXPECT_EQ(made.cell(1, 2), "张老师");
    EXPECT_TRUE(prompter.calls().empty());

    // A grade without tables gets the field 班级 alone; a folder that cannot take it is told.
    EXPECT_EQ(NewTeacherTable("高二", {{"甲班", ""}}, {}).fieldTitles(), (Strings{"班级"}));
    testing::WriteBytes(dir.file("文件"), "x");
    EXPECT_EQ(PrepareTeacherTable(dir.file("文件") + "/", "高一", classes, prompter), "");
    EXPECT_EQ(prompter.messages(), (Strings{"文件保存失败！"}));
}

TEST(TeacherTable, ReadByClassValueAndSubjectBlanksAroundNamesIgnored) {
    const GradeTable table = MakeTable({"班级", "语文", "数学", ""},
                                       {{"高一1班", " 张老师 ", "李老师", "x"},
                                        {"(2)班", "", "李老师"},
                                        {"1班", "王老师", "王老师"},  // (1)班 again: the first row counts
                                        {"高二(3)班", "赵老师"}});
    const TeacherAssignments teachers(table, "高一", {"(1)班", "(2)班", "(3)班"});
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"(1)班", "语文", "张老师"}, {"(1)班", "数学", "李老师"}, {"(2)班", "数学", "李老师"},
        {"(2)班", "语文", ""},       {"(3)班", "语文", ""},       {"(1)班", "英语", ""},
        {"(1)班", "", ""},           {"(1)班", "班级", ""},
    };
    for (const auto& [klass, subject, teacher] : cases) {
        EXPECT_EQ(teachers.teacher(klass, subject), teacher) << klass << subject;
    }
    EXPECT_FALSE(teachers.empty());
    EXPECT_TRUE(TeacherAssignments(MakeTable({"语文"}, {{"张老师"}}), "高一", {"(1)班"}).empty());

    testing::TempDir dir;
    bool unreadable = true;
    EXPECT_TRUE(ReadTeacherAssignments(dir.path() + "/", "高一", {"(1)班"}, unreadable).empty());
    EXPECT_FALSE(unreadable);
    ASSERT_TRUE(WriteDataFile(table, dir.file("任课表")));
    EXPECT_EQ(
        ReadTeacherAssignments(dir.path() + "/", "高一", {"(1)班"}, unreadable).teacher("(1)班", "语文"),
        "张老师");
    testing::WriteBytes(dir.file("任课表.skv"), "坏");
    EXPECT_TRUE(ReadTeacherAssignments(dir.path() + "/", "高一", {"(1)班"}, unreadable).empty());
    EXPECT_TRUE(unreadable);
}

}  // namespace
}  // namespace scorvane
