#include "main/exchange/table_import.h"

#include <gtest/gtest.h>

#include "main/document/data_file.h"
#include "main/exchange/exchange_fixtures.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::Column;
using testing::GbkLines;
using testing::MakeClass;
using testing::MakeTable;
using testing::RecordingStatus;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::WriteBytes;
using Values = std::vector<std::string>;

// Writes the table as a data file and returns its path without ".skv".
std::string WriteTable(const TempDir& dir, const std::string& name, const GradeTable& t) {
    const std::string path = dir.file(name);
    EXPECT_TRUE(WriteDataFile(t, path));
    return path;
}

TEST(WholeTableImport, AppendsThirtyStudentsBelowForty) {
    TempDir dir;
    Document d;
    d.table = MakeClass(40, "A");
    const GradeTable before = d.table;
    const std::string file = WriteTable(dir, "b", MakeClass(30, "B"));

    ScriptedPrompter p;
    RecordingStatus status;
    EXPECT_EQ(ImpData(d, file, p, status), ImportOutcome::Imported);
    EXPECT_TRUE(p.calls().empty());
    ASSERT_EQ(d.table.rows(), 71);
    ASSERT_EQ(d.table.cols(), 4);
    for (int r = 1; r <= 40; ++r) {
        for (int c = 1; c < 4; ++c) {
            ASSERT_EQ(d.table.cell(r, c), before.cell(r, c)) << r << "," << c;
        }
    }
    for (int r = 41; r <= 70; ++r) {
        ASSERT_EQ(d.table.cell(r, 1), "B名" + std::to_string(r - 40));
        ASSERT_EQ(d.table.cell(r, 2), "B" + std::to_string(r - 40));
    }
    for (int r = 1; r <= 70; ++r) {
        ASSERT_EQ(d.table.cell(r, 0), std::to_string(r));
    }
    EXPECT_EQ(d.table.fieldTitles(), (Values{"姓名", "学号", "语文"}));
    EXPECT_TRUE(d.modified());
    EXPECT_EQ(status.texts, (Values{"文件导入中...", "就绪"}));
    EXPECT_EQ(status.busyChanges, (std::vector<bool>{true, false}));
}

TEST(WholeTableImport, WritesOnlyValuesThatDifferFromTheTitles) {
    Document d;
    d.table = MakeTable({"姓名", "语文"}, {{"甲", "80"}, {"乙", "70"}});
    // The source's titles differ in the second field; one of its data cells repeats the title "姓名".
    GradeTable source = MakeTable({"姓名", "数学"}, {{"姓名", "90"}, {"丁", "语文"}});
    ASSERT_TRUE(AppendTable(d, source));
    ASSERT_EQ(d.table.rows(), 5);
    // The former last row keeps its name (same title) but takes the differing title "数学".
    EXPECT_EQ(d.table.cell(2, 1), "乙");
    EXPECT_EQ(d.table.cell(2, 2), "数学");
    // A data cell equal to the table's title of its column is not copied and stays empty.
    EXPECT_EQ(d.table.cell(3, 1), "");
    EXPECT_EQ(d.table.cell(3, 2), "90");
    EXPECT_EQ(d.table.cell(4, 1), "丁");
    EXPECT_EQ(d.table.cell(4, 2), "");
    EXPECT_EQ(d.table.cell(0, 2), "语文");
}

TEST(WholeTableImport, ReadsSourceCellsInFileOrderByTheTablesColumnCount) {
    // A source with one field fewer: its cells shift across rows, and where they run out the new
    // cells stay empty instead of reading past the end.
    Document d;
    d.table = MakeTable({"姓名", "语文", "数学"}, {{"甲", "1", "2"}});
    GradeTable narrow = MakeTable({"姓名", "语文"}, {{"乙", "3"}, {"丙", "4"}});
    ASSERT_TRUE(AppendTable(d, narrow));
    ASSERT_EQ(d.table.rows(), 4);
    // Source cells: "  " 姓名 语文 | 1 乙 3 | 2 丙 4, taken four per row from row 1.
    EXPECT_EQ((Values{d.table.cell(1, 1), d.table.cell(1, 2), d.table.cell(1, 3)}), (Values{"甲", "1", "1"}));
    EXPECT_EQ((Values{d.table.cell(2, 1), d.table.cell(2, 2), d.table.cell(2, 3)}), (Values{"3", "2", "丙"}));
    EXPECT_EQ((Values{d.table.cell(3, 1), d.table.cell(3, 2), d.table.cell(3, 3)}), (Values{"", "", ""}));
    EXPECT_EQ(Column(d.table, 0), (Values{"1", "2", "3"}));

    // A table without students takes the source's titles as its own.
    Document empty;
    empty.table = MakeTable({"姓名", "语文"}, {});
    ASSERT_TRUE(AppendTable(empty, MakeTable({"名字", "语文"}, {{"乙", "3"}})));
    EXPECT_EQ(empty.table.rows(), 2);
    EXPECT_EQ(empty.table.fieldTitles(), (Values{"名字", "语文"}));
    EXPECT_EQ(empty.table.headerLayout(), "  |名字|语文");
    EXPECT_EQ(empty.table.cell(1, 1), "乙");
}

TEST(WholeTableImport, UnsoundOrOversizedSourceChangesNothing) {
    TempDir dir;
    Document d;
    d.table = MakeClass(5, "A");
    const GradeTable before = d.table;
    RecordingStatus status;

    const std::vector<std::string> bad = {
        GbkLines({"not a data file", "T", "2", "2", "", "", "###.##", "  ", "A", "1", "x"}),
        GbkLines(
            {std::string(kDataFileMagic), "T", "3", "2", "", "", "###.##", "  ", "A", "1", "x"}),  // short
        GbkLines({std::string(kDataFileMagic), "T", "two", "2", "", "", "###.##", "  ", "A"}),
        GbkLines({std::string(kDataFileMagic), "T", "40000", "1", "", "", "###.##"}),
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        WriteBytes(dir.file("bad.skv"), bad[i]);
        ScriptedPrompter p;
        EXPECT_EQ(ImpData(d, dir.file("bad"), p, status), ImportOutcome::Refused) << i;
        EXPECT_EQ(p.messages(), Values{"文件格式不正确!"}) << i;
        EXPECT_EQ(d.table.cells(), before.cells()) << i;
    }
    EXPECT_FALSE(d.modified());

    ScriptedPrompter quiet;
    EXPECT_EQ(ImpData(d, dir.file("missing"), quiet, status), ImportOutcome::NoFile);
    EXPECT_EQ(ImpData(d, "   ", quiet, status), ImportOutcome::NoFile);
    EXPECT_TRUE(quiet.calls().empty());

    // The result would pass the largest row count: said, and nothing changes.
    Document big;
    big.table = MakeClass(20000, "A");
    const std::string file = WriteTable(dir, "big", MakeClass(12767, "B"));
    ScriptedPrompter p;
    EXPECT_EQ(ImpData(big, file, p, status), ImportOutcome::TooLarge);
    EXPECT_EQ(p.messages(), Values{std::string(kImportTooLargeMessage)});
    EXPECT_EQ(big.table.rows(), 20001);
    EXPECT_FALSE(big.modified());
    // One row fewer fits exactly.
    WriteTable(dir, "fits", MakeClass(12766, "B"));
    EXPECT_EQ(ImpData(big, dir.file("fits"), p, status), ImportOutcome::Imported);
    EXPECT_EQ(big.table.rows(), GradeTable::kMaxCount);
}

TEST(WholeTableImport, MenuCommandWarnsAsksForTheFileAndCanBeUndone) {
    TempDir dir;
    const std::string file = WriteTable(dir, "b", MakeClass(3, "B"));
    Document d;
    d.table = MakeClass(4, "A");
    RecordingStatus status;

    ScriptedPrompter cancel;
    cancel.chooseOpen("");
    EXPECT_EQ(menuImportAll(d, cancel, status), ImportOutcome::Cancelled);
    EXPECT_EQ(cancel.messages(), Values{std::string(kImportAllWarning)});
    EXPECT_EQ(cancel.calls()[1].text, "*.skv");
    EXPECT_EQ(cancel.calls()[1].title, "导入表格文件");
    EXPECT_FALSE(d.undoAvailable());

    ScriptedPrompter p;
    p.chooseOpen(file + ".skv");
    EXPECT_EQ(menuImportAll(d, p, status), ImportOutcome::Imported);
    EXPECT_EQ(d.table.rows(), 8);
    ASSERT_TRUE(d.undoAvailable());
    d.undo();
    EXPECT_EQ(d.table.rows(), 5);
    EXPECT_EQ(d.table.cell(4, 1), "A名4");
}

}  // namespace
}  // namespace scorvane
