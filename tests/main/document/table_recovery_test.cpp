#include "main/document/table_recovery.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "main/document/data_file.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::TempDir;

constexpr const char* kEnded = "00000000000000ee";  // the session of a program that has ended

// Writes a copy of `table` as a program that worked on `workspace` and has ended.
void WriteCopy(const RecoveryFolder& folder, const std::string& id, const GradeTable& table,
               const std::string& workspace) {
    RecoveryInfo info = TableCopyInfo(table, workspace);
    info.session = kEnded;
    info.time = 1714550000;
    ASSERT_TRUE(folder.write(id, kTableCopyExtension, SerializeDataFile(table), info));
}

TEST(TableRecovery, CopiesOfThisWorkspaceAreFoundAndRecoveredUnsavedUnderTheirOwnPath) {
    TempDir dir;
    const RecoveryFolder folder(dir.file("recovery"));
    const std::string workspace = dir.file("school");
    const std::string other = dir.file("other school");
    MakeDirectories(workspace);
    MakeDirectories(other);
    GradeTable table = testing::MakeClass(3, "甲");
    table.title = "期中考试";
    table.filePath = workspace + "/表格数据/星河中学/高一/(1)班/期中考试";
    table.setCell(2, 3, "97");
    WriteCopy(folder, "a", table, workspace + "/");
    WriteCopy(folder, "b", testing::MakeClass(2, "乙"), other);
    ASSERT_TRUE(folder.write("c", kTableCopyExtension, "不是数据文件", [&] {
        RecoveryInfo info = TableCopyInfo(table, workspace);
        info.session = kEnded;
        info.time = 1714550001;
        return info;
    }()));

    const std::vector<TableCopy> copies = FindTableCopies(folder, workspace);
    ASSERT_EQ(copies.size(), 2u);  // the other workspace's copy is not offered here
    EXPECT_EQ(copies[1].id, "c");
    EXPECT_TRUE(copies[1].damaged());
    const TableCopyRow row = DescribeTableCopy(copies[0], workspace + "/表格数据/");
    EXPECT_EQ(row.table, "期中考试");
    EXPECT_EQ(row.className, "高一 (1)班");
    EXPECT_FALSE(row.damaged);
    EXPECT_EQ(DescribeTableCopy(copies[1], "").table,
              std::string("期中考试") + std::string(kDamagedCopyMark));

    Document document;
    EXPECT_FALSE(RecoverTable(document, copies[1]));
    EXPECT_FALSE(document.modified());
    ASSERT_TRUE(RecoverTable(document, copies[0]));
    EXPECT_TRUE(document.modified());
    EXPECT_EQ(document.table.filePath, table.filePath);
    EXPECT_EQ(document.table.title, "期中考试");
    EXPECT_EQ(SerializeDataFile(document.table), SerializeDataFile(table));
    EXPECT_EQ(document.table.headerLayout(), table.headerLayout());
    // The other workspace finds its own.
    EXPECT_EQ(FindTableCopies(folder, other).size(), 1u);
}

TEST(TableRecovery, ClassOfATableIsItsGradeAndClassFolder) {
    const std::string data = "/w/表格数据/";
    EXPECT_EQ(ClassOfTablePath("/w/表格数据/星河中学/高一/(1)班/期中", data), "高一 (1)班");
    EXPECT_EQ(ClassOfTablePath("/w/表格数据/高一/期中", data), "高一");
    EXPECT_EQ(ClassOfTablePath("/w/表格数据/期中", data), "无");
    EXPECT_EQ(ClassOfTablePath("/home/t/期中", data), "无");
    EXPECT_EQ(ClassOfTablePath("", data), "无");
}

}  // namespace
}  // namespace scorvane
