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

TEST(TableRecovery, NoTwoLinesOfTheOfferAreAlike) {
    // Copies of a class's table and of results that have no file: the same title, class and minute
    // show the seconds; the same second too gets a number.
    struct Copy {
        std::string title, file;
        int64_t time;
    };
    const std::vector<Copy> made = {
        {"期中 成绩统计", "", 1714550000},
        {"期中 成绩统计", "", 1714550007},
        {"期中 成绩统计", "", 1714550007},
        {"期中", "/w/表格数据/一中/高一/(1)班/期中", 1714550000},
        {"期中", "/w/表格数据/一中/高一/(2)班/期中", 1714550000},
        {"期中 分数段", "", 1714550000},
    };
    std::vector<TableCopy> copies;
    for (const Copy& c : made) {
        TableCopy copy;
        copy.table = testing::MakeTable({"科目"}, {}, c.title);
        copy.info = RecoveryInfo();
        copy.info->filePath = c.file;
        copy.info->time = c.time;
        copies.push_back(std::move(copy));
    }
    const std::vector<TableCopyRow> rows = DescribeTableCopies(copies, "/w/表格数据/");
    ASSERT_EQ(rows.size(), made.size());
    const std::string minute = RecoveryTimeText(1714550000);
    const std::vector<std::vector<std::string>> expected = {
        {"期中 成绩统计", "无", RecoveryTimeText(1714550000, true)},
        {"期中 成绩统计", "无", RecoveryTimeText(1714550007, true)},
        {"期中 成绩统计 (2)", "无", RecoveryTimeText(1714550007, true)},
        {"期中", "高一 (1)班", minute},
        {"期中", "高一 (2)班", minute},
        {"期中 分数段", "无", minute},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ((std::vector<std::string>{rows[i].table, rows[i].className, rows[i].time}), expected[i])
            << i;
    }
    EXPECT_EQ(RecoveryTimeText(1714550007, true).substr(0, minute.size()), minute);
    EXPECT_EQ(RecoveryTimeText(1714550007, true).size(), minute.size() + 3);
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
