#include "main/workspace/class_folder.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "support/scoped_program_folder.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

TEST(ClassFolderTest, CreatesEveryLevelListsTablesByNameAndNeverLeavesTheDataFolder) {
    testing::TempDir dir;
    testing::ScopedProgramFolder workspace(dir.path());
    EXPECT_TRUE(PrepareClassTables("一中/高一/(1)班").empty());
    const std::string folder = dir.path() + "/表格数据/一中/高一/(1)班/";
    EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_EQ(ClassTablePath("一中/高一/(1)班", "期中"), folder + "期中");
    for (const char* name : {"b.skv", "a.skv", "C.SKV", "notes.txt", ".skv"}) {
        testing::WriteBytes(folder + name, "x");
    }
    MakeDirectories(folder + "folder.skv");
    EXPECT_EQ(PrepareClassTables("一中/高一/(1)班"), (std::vector<std::string>{"a", "b", "C"}));

    // Chinese names in the order of their GBK bytes, as the sort orders texts.
    const std::string other = dir.path() + "/表格数据/一中/高一/(2)班/";
    ASSERT_TRUE(MakeDirectories(other));
    for (const char* name : {"期中考试.skv", "期末考试.skv", "第一次月考.skv", "Z.skv", "b2.skv"}) {
        testing::WriteBytes(other + name, "x");
    }
    EXPECT_EQ(PrepareClassTables("一中/高一/(2)班"),
              (std::vector<std::string>{"b2", "Z", "第一次月考", "期末考试", "期中考试"}));

    EXPECT_EQ(ClassFolder(" . /高一/(1)班"), "");
    EXPECT_TRUE(PrepareClassTables("一中/../..").empty());
    EXPECT_EQ(ClassTablePath("../x/y", "a"), "");
    EXPECT_FALSE(DirectoryExists(dir.path() + "/x"));
}

}  // namespace
}  // namespace scorvane
