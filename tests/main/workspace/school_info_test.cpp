#include "main/workspace/school_info.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "common/ini_store.h"
#include "common/text_codec.h"
#include "main/workspace/school_tree.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::GbkLines;
using testing::TempDir;
using testing::WriteBytes;

SchoolInfo Read(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += std::string(line) + "\r\n";
    }
    return ReadSchoolInfo(IniStore::fromText(text));
}

TEST(SchoolFileTest, BuildsTheTreeNodesFromWhicheverCaseVariantExists) {
    TempDir dir;
    EXPECT_FALSE(AddDot(dir.path() + "/").enabled);
    EXPECT_TRUE(AddDot(dir.path() + "/").nodes.empty());
    WriteBytes(dir.file("schoolinfo.INI"),
               GbkLines({";c", "[School]", "Name=一中", "Grade=1", "Grade0=高一", "Grade0Class=1",
                         "Grade1=高二", "Grade1Class=-1", "[Grade0]", "Class0=(1)班", "Class1=(2)班"}));
    SchoolTree tree = AddDot(dir.path() + "/");
    EXPECT_TRUE(tree.enabled);
    ASSERT_EQ(tree.nodes.size(), 5u);
    EXPECT_EQ(tree.nodes[0], (SchoolNode{"School1", "", "一中", SchoolNodeImage::School, "一中"}));
    EXPECT_EQ(tree.nodes[1], (SchoolNode{"Grade0", "School1", "高一", SchoolNodeImage::Grade, "一中/高一"}));
    EXPECT_EQ(tree.nodes[3],
              (SchoolNode{"Grade0Class1", "Grade0", "(2)班", SchoolNodeImage::Class, "一中/高一/(2)班"}));
    EXPECT_EQ(tree.nodes[4].key, "Grade1");  // a grade without classes has no children
    EXPECT_TRUE(IsClassNodeKey("Grade0Class1"));
    EXPECT_FALSE(IsClassNodeKey("Grade1"));
}

TEST(SchoolFileTest, MissingKeysReadDefaultAndBadCountsEndTheReading) {
    SchoolInfo school = Read(
        {"[School]", "Grade=1", "Grade0Class=0", "Grade1=高二", "Grade1Class=1", "[Grade1]", "Class1=(2)班"});
    EXPECT_EQ(school, (SchoolInfo{"Default", {{"Default", {"Default"}}, {"高二", {"Default", "(2)班"}}}}));
    EXPECT_TRUE(Read({"[School]", "Name=甲"}).grades.empty());
    EXPECT_TRUE(Read({"[School]", "Name=甲", "Grade=two"}).grades.empty());
    // Grade 1's class count is no number: it stays without classes and grade 2 is never read.
    EXPECT_EQ(Read({"[School]", "Grade=2", "Grade0=一", "Grade0Class=0", "Grade1=二", "Grade1Class=1.5",
                    "Grade2=三", "Grade2Class=0", "[Grade0]", "Class0=a", "[Grade1]", "Class0=b"})
                  .grades,
              (std::vector<GradeEntry>{{"一", {"a"}}, {"二", {}}}));
    // A count far beyond what the file holds must neither produce a million "Default" entries nor lose
    // what the file does hold (the editor would write the loss back).
    SchoolInfo damaged = Read({"[School]", "Grade=999999", "Grade0=一", "Grade0Class=999999", "Grade1=二",
                               "Grade1Class=0", "[Grade1]", "Class0=b"});
    ASSERT_EQ(damaged.grades.size(), 3u);  // then grade 2: "Default", with no count to go on
    EXPECT_LE(damaged.grades[0].classes.size(), 9u);
    EXPECT_EQ(damaged.grades[0].classes.back(), "Default");
    EXPECT_EQ(damaged.grades[1], (GradeEntry{"二", {"b"}}));
    EXPECT_EQ(damaged.grades[2], (GradeEntry{"Default", {}}));
}

TEST(SchoolFileTest, ReadingStaysInProportionToTheFile) {
    // A few dozen KB whose grades each claim 99,999 classes: grades x classes is what the file holds,
    // not thousands of millions of "Default" entries.
    std::string text = "[School]\r\nName=一中\r\nGrade=99999\r\n";
    std::string sections;
    const int grades = 2000;
    for (int i = 0; i < grades; ++i) {
        const std::string g = "Grade" + std::to_string(i);
        text += g + "=年级" + std::to_string(i) + "\r\n" + g + "Class=99999\r\n";
        sections += "[" + g + "]\r\nClass0=(1)班\r\nClass3=(4)班\r\n";
    }
    text += sections;
    ASSERT_GT(text.size(), 80000u);
    const IniStore ini = IniStore::fromText(text);
    SchoolInfo school = ReadSchoolInfo(ini);
    ASSERT_EQ(school.grades.size(), static_cast<size_t>(grades) + 1);  // then no count: the reading ends
    // Up to the largest key present, the missing keys between reading "Default".
    EXPECT_EQ(school.grades[1999], (GradeEntry{"年级1999", {"(1)班", "Default", "Default", "(4)班"}}));
    size_t classes = 0;
    for (const GradeEntry& grade : school.grades) {
        classes += grade.classes.size();
    }
    EXPECT_LE(classes, 2 * ini.lineCount());
    // A key far beyond those present is not followed: no more classes than twice the keys present.
    EXPECT_EQ(Read({"[School]", "Grade=0", "Grade0=一", "Grade0Class=32766", "[Grade0]", "Class0=a",
                    "Class32766=z"})
                  .grades[0]
                  .classes,
              (std::vector<std::string>{"a", "Default", "Default", "Default"}));
}

TEST(SchoolFileTest, SavesTheLayoutInGbkReplacingOtherCaseVariants) {
    TempDir dir;
    WriteBytes(dir.file("schoolinfo.ini"), GbkLines({"[School]", "Name=旧", "Grade=-1"}));
    SchoolInfo school{"一中", {{"高一", {"(1)班", "(2)班"}}, {"高二", {}}}};
    ASSERT_TRUE(SaveSchoolInfo(school, dir.path() + "/"));
    EXPECT_FALSE(FileExists(dir.file("schoolinfo.ini")));
    std::string text = DecodeGbk(testing::ReadBytes(dir.file("SchoolInfo.ini")));
    EXPECT_TRUE(text.starts_with(";KVL'S Scorvane 学校信息文档。"));
    EXPECT_TRUE(
        text.ends_with("\r\n;请使用“新建/编辑学校关系树”编辑本文件，手工修改前请先备份。\r\n"
                       "[School]\r\nName=一中\r\nGrade=1\r\nGrade0=高一\r\nGrade0Class=1\r\nGrade1=高二\r\n"
                       "Grade1Class=-1\r\n[Grade0]\r\nClass0=(1)班\r\nClass1=(2)班\r\n"));
    EXPECT_EQ(LoadSchoolInfo(dir.path() + "/"), school);
    ASSERT_TRUE(SaveSchoolInfo({"在此输入学校名称", {}}, dir.path() + "/"));
    EXPECT_TRUE(DecodeGbk(testing::ReadBytes(dir.file("SchoolInfo.ini"))).ends_with("Grade=-1\r\n"));
    EXPECT_EQ(AddDot(dir.path() + "/").nodes.size(), 1u);
}

TEST(SchoolFileTest, AFailedSaveSaysSo) {
    TempDir dir;
    WriteBytes(dir.file("plain"), "x");
    EXPECT_FALSE(SaveSchoolInfo({"新", {}}, dir.file("plain") + "/"));
    std::filesystem::create_directories(dir.file("w/SchoolInfo.ini/keep"));
    EXPECT_FALSE(SaveSchoolInfo({"新", {}}, dir.file("w") + "/"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("w/SchoolInfo.ini/keep")));
}

}  // namespace
}  // namespace scorvane
