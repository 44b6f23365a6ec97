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
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

SchoolInfo Read(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    return ReadSchoolInfo(IniStore::fromText(text));
}

std::vector<std::string> Keys(const SchoolTree& tree) {
    std::vector<std::string> keys;
    for (const SchoolNode& node : tree.nodes) {
        keys.push_back(node.key);
    }
    return keys;
}

TEST(SchoolFileReadTest, BuildsTheTreeNodesWithKeysParentsImagesAndPaths) {
    TempDir dir;
    WriteBytes(dir.file("SchoolInfo.ini"),
               GbkLines({";comment", "[School]", "Name=第一中学", "Grade=1", "Grade0=高一", "Grade0Class=1",
                         "Grade1=高二", "Grade1Class=-1", "", "[Grade0]", "Class0=(1)班", "Class1=(2)班"}));
    SchoolTree tree = AddDot(dir.path() + "/");
    EXPECT_TRUE(tree.enabled);
    ASSERT_EQ(Keys(tree),
              (std::vector<std::string>{"School1", "Grade0", "Grade0Class0", "Grade0Class1", "Grade1"}));
    EXPECT_EQ(tree.nodes[0], (SchoolNode{"School1", "", "第一中学", SchoolNodeImage::School, "第一中学"}));
    EXPECT_EQ(tree.nodes[1],
              (SchoolNode{"Grade0", "School1", "高一", SchoolNodeImage::Grade, "第一中学/高一"}));
    EXPECT_EQ(tree.nodes[3],
              (SchoolNode{"Grade0Class1", "Grade0", "(2)班", SchoolNodeImage::Class, "第一中学/高一/(2)班"}));
    EXPECT_EQ(tree.nodes[4].parentKey, "School1");
    EXPECT_TRUE(IsClassNodeKey(tree.nodes[2].key));
    EXPECT_FALSE(IsClassNodeKey("Grade1"));
    EXPECT_FALSE(IsClassNodeKey("School1"));
    ASSERT_NE(tree.find("Grade0Class0"), nullptr);
    EXPECT_EQ(tree.find("Grade0Class0")->text, "(1)班");
    EXPECT_EQ(tree.find("Grade7"), nullptr);
}

TEST(SchoolFileReadTest, WithoutAFileTheTreeIsEmptyAndDisabledAndAnyCaseVariantIsRead) {
    TempDir dir;
    SchoolTree none = AddDot(dir.path() + "/");
    EXPECT_FALSE(none.enabled);
    EXPECT_TRUE(none.nodes.empty());
    EXPECT_FALSE(LoadSchoolInfo(dir.path() + "/").has_value());

    WriteBytes(dir.file("schoolinfo.INI"), GbkLines({"[School]", "Name=小写", "Grade=-1"}));
    EXPECT_EQ(FindSchoolFile(dir.path() + "/"), dir.path() + "/schoolinfo.INI");
    SchoolTree tree = AddDot(dir.path() + "/");
    EXPECT_TRUE(tree.enabled);
    ASSERT_EQ(tree.nodes.size(), 1u);
    EXPECT_EQ(tree.nodes[0].text, "小写");
}

TEST(SchoolFileReadTest, MissingKeysReadDefault) {
    SchoolInfo school = Read(
        {"[School]", "Grade=1", "Grade0Class=0", "Grade1=高二", "Grade1Class=1", "[Grade1]", "Class1=(2)班"});
    EXPECT_EQ(school.name, "Default");
    ASSERT_EQ(school.grades.size(), 2u);
    EXPECT_EQ(school.grades[0], (GradeEntry{"Default", {"Default"}}));
    EXPECT_EQ(school.grades[1], (GradeEntry{"高二", {"Default", "(2)班"}}));
}

TEST(SchoolFileReadTest, CountsThatAreNotNumbersEndTheReadingKeepingWhatWasRead) {
    // No grade count at all: the school alone.
    EXPECT_TRUE(Read({"[School]", "Name=甲"}).grades.empty());
    EXPECT_TRUE(Read({"[School]", "Name=甲", "Grade=two"}).grades.empty());
    // The second grade's class count is broken: it stays without classes and the third is never read.
    SchoolInfo school = Read({"[School]", "Name=甲", "Grade=2", "Grade0=一", "Grade0Class=0", "Grade1=二",
                              "Grade1Class=1.5", "Grade2=三", "Grade2Class=0", "[Grade0]", "Class0=a",
                              "[Grade1]", "Class0=b", "[Grade2]", "Class0=c"});
    ASSERT_EQ(school.grades.size(), 2u);
    EXPECT_EQ(school.grades[0], (GradeEntry{"一", {"a"}}));
    EXPECT_EQ(school.grades[1], (GradeEntry{"二", {}}));
    // A missing class count ends the reading just the same.
    EXPECT_EQ(Read({"[School]", "Grade=1", "Grade0=一", "Grade1=二", "Grade1Class=0"}).grades.size(), 1u);
    // Blanks around a count are allowed, a negative count gives no entries.
    EXPECT_EQ(Read({"[School]", "Grade= 0 ", "Grade0=一", "Grade0Class=-3"}).grades,
              (std::vector<GradeEntry>{{"一", {}}}));
}

TEST(SchoolFileReadTest, ACountBeyondWhatTheFileHoldsIsRefused) {
    // A damaged count must not make the reader produce a million "Default" entries.
    SchoolInfo school = Read(
        {"[School]", "Name=甲", "Grade=1", "Grade0=一", "Grade0Class=999999", "Grade1=二", "Grade1Class=-1"});
    ASSERT_EQ(school.grades.size(), 1u);
    EXPECT_TRUE(school.grades[0].classes.empty());
    EXPECT_TRUE(Read({"[School]", "Grade=40000"}).grades.empty());
}

TEST(SchoolFileSaveTest, WritesTheLayoutInGbkWithCrLfAndReadsBackTheSame) {
    TempDir dir;
    SchoolInfo school{"第一中学", {{"高一", {"(1)班", "(2)班"}}, {"高二", {}}, {"高三", {"(1)班"}}}};
    ASSERT_TRUE(SaveSchoolInfo(school, dir.path() + "/"));
    std::string bytes = ReadBytes(dir.file("SchoolInfo.ini"));
    std::string text = DecodeGbk(bytes);
    EXPECT_EQ(EncodeGbk(text), bytes);
    const std::string body = text.substr(text.find("\r\n", text.find("\r\n") + 2) + 2);
    EXPECT_TRUE(text.starts_with(";KVL'S Scorvane 学校信息文档。"));
    EXPECT_EQ(text.substr(text.find("\r\n") + 2, 1), ";");
    EXPECT_EQ(body,
              "[School]\r\nName=第一中学\r\nGrade=2\r\nGrade0=高一\r\nGrade0Class=1\r\nGrade1=高二\r\n"
              "Grade1Class=-1\r\nGrade2=高三\r\nGrade2Class=0\r\n"
              "[Grade0]\r\nClass0=(1)班\r\nClass1=(2)班\r\n[Grade2]\r\nClass0=(1)班\r\n");
    EXPECT_EQ(LoadSchoolInfo(dir.path() + "/"), school);
}

TEST(SchoolFileSaveTest, AnEmptySchoolIsSavedAsGradeMinusOneAndShowsOnlyTheSchoolNode) {
    TempDir dir;
    ASSERT_TRUE(SaveSchoolInfo({"在此输入学校名称", {}}, dir.path() + "/"));
    std::string text = DecodeGbk(ReadBytes(dir.file("SchoolInfo.ini")));
    EXPECT_NE(text.find("[School]\r\nName=在此输入学校名称\r\nGrade=-1\r\n"), std::string::npos);
    EXPECT_EQ(text.find("[Grade"), std::string::npos);
    SchoolTree tree = AddDot(dir.path() + "/");
    EXPECT_EQ(Keys(tree), std::vector<std::string>{"School1"});
}

TEST(SchoolFileSaveTest, ReplacesAnotherCaseVariantSoOnlyOneFileRemains) {
    TempDir dir;
    WriteBytes(dir.file("schoolinfo.ini"), GbkLines({"[School]", "Name=旧", "Grade=-1"}));
    ASSERT_TRUE(SaveSchoolInfo({"新", {}}, dir.path() + "/"));
    EXPECT_FALSE(FileExists(dir.file("schoolinfo.ini")));
    EXPECT_TRUE(FileExists(dir.file("SchoolInfo.ini")));
    EXPECT_EQ(LoadSchoolInfo(dir.path() + "/")->name, "新");
}

TEST(SchoolFileSaveTest, AFailedSaveReportsFailureAndLeavesNoFileBehind) {
    TempDir dir;
    // The folder cannot be made: a plain file stands where it should be.
    WriteBytes(dir.file("plain"), "x");
    EXPECT_FALSE(SaveSchoolInfo({"新", {}}, dir.file("plain") + "/"));
    EXPECT_EQ(ReadBytes(dir.file("plain")), "x");
    // The school file's name is taken by a folder: the write fails and the folder stays as it was.
    std::filesystem::create_directories(dir.file("w/SchoolInfo.ini/keep"));
    EXPECT_FALSE(SaveSchoolInfo({"新", {}}, dir.file("w") + "/"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("w/SchoolInfo.ini/keep")));
}

}  // namespace
}  // namespace scorvane
