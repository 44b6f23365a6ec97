#include "main/analysis/exam_order.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "main/analysis/exam_progress.h"
#include "main/document/data_file.h"
#include "main/workspace/school_info.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

namespace fs = std::filesystem;
using testing::MakeTable;
using Strings = std::vector<std::string>;

// A grade folder of the data folder whose classes hold tables written at the given minutes (later
// minutes, later times).
struct Grade {
    testing::TempDir dir;
    std::vector<GradeClass> classes;

    const fs::file_time_type start = fs::file_time_type::clock::now() - std::chrono::hours(24);

    void add(const std::string& name, const std::vector<std::pair<std::string, int>>& tables) {
        for (const auto& [table, minute] : tables) {
            const std::string path = dir.file(kGrade + name + "/" + table);
            ASSERT_TRUE(WriteDataFile(MakeTable({"语文"}, {{"1"}}), path));
            fs::last_write_time(DataFileOf(path), start + std::chrono::minutes(minute));
        }
        classes.push_back({name, dir.file(kGrade + name) + "/"});
    }
    std::string folder() const { return dir.file(kGrade); }

    static constexpr const char* kGrade = "表格数据/学校/高一/";
};

TEST(ExamOrder, OldestFirstByTheEarliestFileOfEachNameTiesInNameOrderUntilTheOfficeSetsIt) {
    Grade grade;
    // 期末 is the newest although its name sorts first; (2)班 edited its 第一次月考 after 期中, but
    // (1)班's copy is older. 补考 and 第二次月考 were written at the same minute: name order.
    grade.add("(1)班", {{"第一次月考", 1}, {"期中考试", 5}, {"期末考试", 9}, {"补考", 7}});
    grade.add("(2)班", {{"第一次月考", 8}, {"期中考试", 6}, {"第二次月考", 7}});
    grade.classes.push_back({"(3)班", ""});
    EXPECT_EQ(GradeExamOrder(grade.classes, grade.folder()),
              (Strings{"第一次月考", "期中考试", "补考", "第二次月考", "期末考试"}));
    EXPECT_EQ(GradeFolderOfClasses(grade.classes), grade.folder());

    // The office's order comes first; names it lacks (or no class holds) follow by time.
    EXPECT_TRUE(ReadExamOrder(grade.folder()).empty());
    ASSERT_TRUE(WriteExamOrder(grade.folder(), {"期末考试", "退学", "第一次月考", "期末考试"}));
    EXPECT_EQ(ReadExamOrder(grade.folder()), (Strings{"期末考试", "退学", "第一次月考"}));
    EXPECT_EQ(GradeExamOrder(grade.classes, grade.folder()),
              (Strings{"期末考试", "第一次月考", "期中考试", "补考", "第二次月考"}));
    // A class's own tables in its grade's order, also for a class the school file does not list.
    EXPECT_EQ(ClassExamOrder(grade.classes[1].folder), (Strings{"第一次月考", "期中考试", "第二次月考"}));
    ASSERT_TRUE(SaveSchoolInfo({"学校", {{"高一", {"(1)班"}}}}, grade.dir.path() + "/"));
    grade.add("(9)班", {{"周测一", 2}, {"周测二", 3}});
    EXPECT_EQ(ClassExamOrder(grade.classes.back().folder), (Strings{"周测一", "周测二"}));
}

TEST(ExamOrder, TheGradesWindowsChooseTheLatestExamMostClassesHoldAndProgressTheOneBefore) {
    Grade grade;
    grade.add("(1)班", {{"第一次月考", 1}, {"期中考试", 5}, {"期末考试", 9}});
    grade.add("(2)班", {{"第一次月考", 2}, {"期中考试", 6}, {"期末考试", 10}});
    grade.add("(3)班", {{"第一次月考", 3}, {"期中考试", 7}});
    Strings names;
    for (const GradeTableCount& entry : GradeTablesByClassCount(grade.classes)) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names, (Strings{"期中考试", "第一次月考", "期末考试"}));

    // Before 期末考试: 期中考试, then 第一次月考; before 第一次月考 nothing, the later ones nearest first.
    const std::string folder = grade.classes[0].folder;
    EXPECT_EQ(EarlierTableChoices(folder + "期末考试"), (Strings{"期中考试", "第一次月考"}));
    EXPECT_EQ(EarlierTableChoices(folder + "第一次月考"), (Strings{"期中考试", "期末考试"}));
    EXPECT_EQ(EarlierTableChoices(folder + "期中考试"), (Strings{"第一次月考", "期末考试"}));

    // A folder outside the data folder is ordered by its own tables' times alone.
    testing::TempDir elsewhere;
    for (const auto& [name, minute] : std::vector<std::pair<std::string, int>>{{"期末", 1}, {"期中", 2}}) {
        ASSERT_TRUE(WriteDataFile(MakeTable({"语文"}, {{"1"}}), elsewhere.file(name)));
        fs::last_write_time(elsewhere.file(name + ".skv"), fs::file_time_type::clock::now() -
                                                              std::chrono::hours(1) + std::chrono::minutes(minute));
    }
    EXPECT_EQ(ClassExamOrder(elsewhere.path() + "/"), (Strings{"期末", "期中"}));

    // A file that reads as no order file orders nothing.
    testing::WriteBytes(ExamOrderFile(grade.folder()), std::string("\xff\xfe\0[", 4));
    EXPECT_EQ(ClassExamOrder(folder), (Strings{"第一次月考", "期中考试", "期末考试"}));
}

}  // namespace
}  // namespace scorvane
