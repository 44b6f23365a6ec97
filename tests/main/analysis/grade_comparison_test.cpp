#include "main/analysis/grade_comparison.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "main/analysis/grade_tables.h"
#include "main/document/data_file.h"
#include "main/workspace/school_info.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using testing::TempDir;
using Strings = std::vector<std::string>;

std::vector<ClassTable> Grade() {
    std::vector<ClassTable> classes;
    classes.push_back(
        {"(1)班", MakeTable({"姓名", "语文", "数学"}, {{"甲", "80", "70"}, {"乙", "90", "缺考"}})});
    classes.push_back({"(2)班", std::nullopt});
    classes.push_back({"(3)班", MakeTable({"姓名", "数学", "语文"}, {{"丙", "100", "85"}})});
    classes.push_back({"(4)班", MakeTable({"姓名", "语文", "数学"},
                                          {{"丁", "70", "50"}, {"戊", "60", "90"}, {"己", "缺考", "95"}})});
    classes.push_back({"(5)班", std::nullopt, true});
    return classes;
}

Strings Row(const GradeTable& t, int row) {
    Strings out;
    for (int c = 1; c < t.cols(); ++c) {
        out.push_back(t.cell(row, c));
    }
    return out;
}

TEST(GradeComparison, ClassesRankedByMeanAndTheGradeOverAllItsStudents) {
    const std::vector<ClassTable> classes = Grade();
    ASSERT_EQ(DefaultComparisonFields(classes), (Strings{"语文", "数学"}));
    AnalysisSettings settings;
    ASSERT_EQ(ReadAnalysisTexts({}, ComparisonFields(classes), DefaultComparisonFields(classes), settings),
              std::nullopt);
    const GradeTable t = GradeComparisonTable("高一", "期中考试", classes, settings);
    EXPECT_EQ(t.title, "高一 期中考试 年级对比");
    EXPECT_EQ(Row(t, 0), (Strings{"班级", "语文平均分", "语文及格率", "语文优秀率", "语文名次", "数学平均分",
                                  "数学及格率", "数学优秀率", "数学名次"}));
    // 语文: 85 (80, 90), 85, 65 (70, 60): equal means share rank 1, the next is 3.
    // 数学: 70, 100, 78.33 (235 / 3; 90 and 95 excel).
    EXPECT_EQ(Row(t, 1),
              (Strings{"(1)班", "85.00", "100.00%", "50.00%", "1", "70.00", "100.00%", "0.00%", "3"}));
    EXPECT_EQ(Row(t, 2),
              (Strings{"(3)班", "85.00", "100.00%", "100.00%", "1", "100.00", "100.00%", "100.00%", "1"}));
    EXPECT_EQ(Row(t, 3),
              (Strings{"(4)班", "65.00", "100.00%", "0.00%", "3", "78.33", "66.67%", "66.67%", "2"}));
    // All five students together: 语文 385 / 5 with 90 and 85 excellent; 数学 405 / 5 = 81 (the class
    // means' mean would be 82.78), 50 fails, 100 90 95 excel.
    EXPECT_EQ(Row(t, 4),
              (Strings{"年级", "77.00", "100.00%", "40.00%", "", "81.00", "80.00%", "60.00%", ""}));
    EXPECT_EQ(t.rows(), 5);
    EXPECT_EQ(LeftOutClassesMessage("期中考试", classes),
              "以下班级没有表格“期中考试”，未列入对比：(2)班\n"
              "以下班级的表格“期中考试”无法读取，未列入对比：(5)班");
}

TEST(GradeComparison, ClassesLackingAFieldAreNamedAndLeftOutOfItsRanks) {
    std::vector<ClassTable> classes;
    classes.push_back(
        {"(1)班", MakeTable({"姓名", "语文", "物理", "平均"},
                            {{"甲", "85", "70", "80"}, {"乙", "85", "80", "80"}, {"丙", "86", "90", "80"}})});
    classes.push_back({"(2)班", MakeTable({"姓名", "语文"}, {{"丁", "85.33"}})});
    classes.push_back({"(3)班", MakeTable({"姓名", "语文", "物理"}, {{"戊", "90", "60"}})});
    AnalysisTexts texts;
    texts.fields = {"语文", "物理", "平均"};
    AnalysisSettings settings;
    ASSERT_EQ(ReadAnalysisTexts(texts, ComparisonFields(classes), {}, settings), std::nullopt);
    const GradeTable t = GradeComparisonTable("高一", "期中考试", classes, settings);
    EXPECT_EQ(Row(t, 0), (Strings{"班级", "语文平均分", "语文及格率", "语文优秀率", "语文名次", "物理平均分",
                                  "物理及格率", "物理优秀率", "物理名次", "平均分", "平均及格率",
                                  "平均优秀率", "平均名次"}));
    // 语文: (1)班 256 / 3 = 85.333 and (2)班 85.33 show alike and share rank 2 below (3)班's 90.
    EXPECT_EQ(Row(t, 1), (Strings{"(1)班", "85.33", "100.00%", "100.00%", "2", "80.00", "100.00%", "33.33%",
                                  "1", "80.00", "100.00%", "0.00%", "1"}));
    EXPECT_EQ(Row(t, 2),
              (Strings{"(2)班", "85.33", "100.00%", "100.00%", "2", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(Row(t, 3), (Strings{"(3)班", "90.00", "100.00%", "100.00%", "1", "60.00", "100.00%", "0.00%",
                                  "2", "", "", "", ""}));
    // 语文 431.33 / 5; 物理 300 / 4 with one of four excellent.
    EXPECT_EQ(Row(t, 4), (Strings{"年级", "86.27", "100.00%", "100.00%", "", "75.00", "100.00%", "25.00%", "",
                                  "80.00", "100.00%", "0.00%", ""}));
    EXPECT_EQ(t.classInfo, "满分：语文 100，物理 100，平均 100；及格 60%，优秀 85%，低分 40%");
    EXPECT_EQ(LeftOutClassesMessage("期中考试", classes, settings.fields),
              "以下班级的表格“期中考试”没有字段“物理”，该字段不含这些班级：(2)班\n"
              "以下班级的表格“期中考试”没有字段“平均”，该字段不含这些班级：(2)班、(3)班");
    EXPECT_EQ(GradeMarksAboveFullMarks(classes, settings), "");
    settings.fullMarks = {85.33, 80, 80};
    EXPECT_EQ(GradeMarksAboveFullMarks(classes, settings),
              "“语文”有 2 个成绩高于满分 85.33，“物理”有 1 个成绩高于满分 80，请检查满分设置。");
}

TEST(GradeComparison, ARepeatedMeanIsWrittenOnceInAColumnTitle) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"平均", "平均分"}, {"总平均", "总平均分"}, {"语文", "语文平均分"}, {"平均分", "平均分平均分"}};
    for (const auto& [field, title] : cases) {
        EXPECT_EQ(ComparisonColumnTitle(field, "平均分"), title);
    }
    EXPECT_EQ(ComparisonColumnTitle("平均", "名次"), "平均名次");
}

TEST(GradeComparison, ClassesComeFromTheSchoolFileElseTheFolders) {
    TempDir dir;
    SchoolInfo school{"一中", {{"高一", {"(1)班", "(2)班", "(10)班"}}}};
    ASSERT_TRUE(SaveSchoolInfo(school, dir.path() + "/"));
    const std::string grade = dir.file("表格数据/一中/高一");
    ASSERT_TRUE(WriteDataFile(MakeTable({"语文"}, {{"80"}}), grade + "/(1)班/期中"));
    ASSERT_TRUE(WriteDataFile(MakeTable({"语文"}, {{"90"}}), grade + "/(10)班/月考"));
    testing::WriteBytes(grade + "/(10)班/期中.skv", "不是表格");
    ASSERT_TRUE(WriteDataFile(MakeTable({"语文"}, {{"70"}}), grade + "/(9)班/期中"));

    std::optional<GradeFolder> folder = ReadGradeFolder(grade + "/");
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->grade, "高一");
    Strings names;
    for (const GradeClass& c : folder->classes) {
        names.push_back(c.name);
    }
    EXPECT_EQ(names, (Strings{"(1)班", "(2)班", "(10)班"}));  // the school file's order; (9)班 is not in it
    EXPECT_EQ(GradeTableNames(folder->classes), (Strings{"期中", "月考"}));
    const std::vector<ClassTable> tables = LoadClassTables(folder->classes, "期中");
    ASSERT_EQ(tables.size(), 3u);
    EXPECT_EQ(tables[0].table->cell(1, 1), "80");
    EXPECT_TRUE(!tables[1].table && !tables[1].unreadable);
    EXPECT_TRUE(!tables[2].table && tables[2].unreadable);

    // Without the school file: the sub-folders in name order, as the tree orders them whatever the case
    // of their letters; so are the tables.
    std::filesystem::remove(dir.file("SchoolInfo.ini"));
    ASSERT_TRUE(WriteDataFile(MakeTable({"语文"}, {{"70"}}), grade + "/B班/a卷"));
    ASSERT_TRUE(WriteDataFile(MakeTable({"语文"}, {{"70"}}), grade + "/a班/B卷"));
    folder = ReadGradeFolder(grade);
    names.clear();
    for (const GradeClass& c : folder->classes) {
        names.push_back(c.name);
    }
    EXPECT_EQ(names, (Strings{"(1)班", "(10)班", "(9)班", "a班", "B班"}));
    EXPECT_EQ(GradeTableNames(folder->classes), (Strings{"a卷", "B卷", "期中", "月考"}));
    EXPECT_FALSE(ReadGradeFolder(dir.file("没有")));
}

}  // namespace
}  // namespace scorvane
