#include "main/workspace/class_folder.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "main/workspace/workspace_folder.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::TempDir;
using testing::WriteBytes;

class ClassFolderTest : public ::testing::Test {
  protected:
    ClassFolderTest() : saved_(ProgramFolder()) { SetProgramFolder(dir.path()); }
    ~ClassFolderTest() override { SetProgramFolder(saved_); }
    TempDir dir;

  private:
    std::string saved_;
};

TEST_F(ClassFolderTest, AClassWithoutAFolderGetsEveryLevelAndNoTables) {
    EXPECT_EQ(ClassFolder("一中/高一/(1)班"), dir.path() + "/表格数据/一中/高一/(1)班/");
    EXPECT_TRUE(PrepareClassTables("一中/高一/(1)班").empty());
    EXPECT_TRUE(DirectoryExists(dir.path() + "/表格数据/一中/高一/(1)班"));
    EXPECT_EQ(ClassTablePath("一中/高一/(1)班", "期中"), dir.path() + "/表格数据/一中/高一/(1)班/期中");
}

TEST_F(ClassFolderTest, ListsTheDataFilesByNameWithoutTheirExtension) {
    const std::string folder = dir.path() + "/表格数据/一中/高一/(1)班/";
    WriteBytes(folder + "b.skv", "x");
    WriteBytes(folder + "a.skv", "x");
    WriteBytes(folder + "C.SKV", "x");
    WriteBytes(folder + "notes.txt", "x");
    WriteBytes(folder + ".skv", "x");
    MakeDirectories(folder + "folder.skv");
    EXPECT_EQ(PrepareClassTables("一中/高一/(1)班"), (std::vector<std::string>{"a", "b", "C"}));
    EXPECT_TRUE(ListTables(dir.path() + "/missing/").empty());
}

TEST_F(ClassFolderTest, APathLeavingTheDataFolderGetsNoFolder) {
    EXPECT_EQ(ClassFolder("一中/../.."), "");
    EXPECT_EQ(ClassFolder(" . /高一/(1)班"), "");
    EXPECT_FALSE(EnsureClassFolder("../x/y"));
    EXPECT_TRUE(PrepareClassTables("一中/../..").empty());
    EXPECT_EQ(ClassTablePath("../x/y", "a"), "");
    EXPECT_FALSE(DirectoryExists(dir.path() + "/x"));
}

}  // namespace
}  // namespace scorvane
