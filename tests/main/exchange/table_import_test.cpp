#include "main/exchange/table_import.h"

#include <gtest/gtest.h>

#include "main/document/data_file.h"
#include "support/sample_table.h"
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
using Values = std::vector<std::string>;
using Strings = std::vector<std::string>;

// Writes the table as a data file and returns its path without ".skv".
std::string WriteTable(const TempDir& dir, const std::string& name, const GradeTable& t) {
    EXPECT_TRUE(WriteDataFile(t, dir.file(name)));
    return dir.file(name);
}

TEST(WholeTableImport, AppendsThirtyStudentsBelowForty) {
    TempDir dir;
    Document d;
    d.table = MakeClass(40, "A");
    const GradeTable before = d.table;
    ScriptedPrompter p;
    RecordingStatus status;
    EXPECT_EQ(ImpData(d, WriteTable(dir, "b", MakeClass(30, "B")), p, status), ImportOutcome::Imported);
    EXPECT_TRUE(p.calls().empty());
    ASSERT_EQ(d.table.rows(), 71);
    const Values kept = before.cellTexts();
    const Values now = d.table.cellTexts();
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), now.begin()));
    Values names = Column(d.table, 1);
    EXPECT_EQ(names[40], "B名1");
    EXPECT_EQ(names[69], "B名30");
    Values numbers = Column(d.table, 0);
    EXPECT_EQ(numbers[45], "46");
    EXPECT_EQ(numbers[69], "70");
    EXPECT_EQ(d.table.fieldTitles(), (Values{"姓名", "学号", "语文"}));
    EXPECT_TRUE(d.modified());
    EXPECT_EQ(status.texts, (Values{"文件导入中...", "就绪"}));
}

TEST(WholeTableImport, TitlesFallOnTheLastRowOnlyWhenItIsEmpty) {
    // The source's title row lands on the table's former last row, where only titles that differ from
    // the table's own are written; a row that holds anything keeps it, and the data rows follow.
    struct Case {
        const char* what;
        Strings lastRow;
        Values names, marks;
    };
    const Case cases[] = {
        {"empty last row", {"", ""}, {"甲", "", "丙", ""}, {"80", "数学", "90", ""}},
        {"a student's row", {"乙", "70"}, {"甲", "乙", "丙", ""}, {"80", "70", "90", ""}},
        {"a mark alone", {"", "70"}, {"甲", "", "丙", ""}, {"80", "70", "90", ""}},
        {"blanks only", {" ", ""}, {"甲", " ", "丙", ""}, {"80", "数学", "90", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Document d;
        d.table = MakeTable({"姓名", "语文"}, {{"甲", "80"}, c.lastRow});
        // The source's second title differs; two of its data cells repeat a title of the table.
        ASSERT_TRUE(AppendTable(d, MakeTable({"姓名", "数学"}, {{"丙", "90"}, {"姓名", "语文"}})));
        EXPECT_EQ(Column(d.table, 1), c.names);
        EXPECT_EQ(Column(d.table, 2), c.marks);
        EXPECT_EQ(d.table.fieldTitles(), (Values{"姓名", "语文"}));
    }
}

TEST(WholeTableImport, AFilledLastRowKeepsItsMarksWhenTheFieldsStandInAnotherOrder) {
    TempDir dir;
    Document d;
    d.table = MakeTable({"姓名", "学号", "语文", "数学", "英语"}, {{"甲", "1", "81", "92", "73"}});
    const std::string other = WriteTable(
        dir, "b", MakeTable({"姓名", "学号", "数学", "语文", "英语"}, {{"乙", "2", "60", "70", "80"}}));
    ScriptedPrompter p;
    RecordingStatus status;
    ASSERT_EQ(ImpData(d, other, p, status), ImportOutcome::Imported);
    EXPECT_EQ(d.table.cellTexts(), (Values{"  ", "姓名", "学号", "语文", "数学", "英语",  //
                                           "1", "甲", "1", "81", "92", "73",              //
                                           "2", "乙", "2", "60", "70", "80"}));
}

TEST(WholeTableImport, ReadsSourceCellsInFileOrderByTheTablesColumnCount) {
    // A source with one field fewer: its cells shift across rows, and where they run out the new
    // cells stay empty instead of reading past the end.
    Document d;
    d.table = MakeTable({"姓名", "语文", "数学"}, {{"甲", "1", "2"}});
    ASSERT_TRUE(AppendTable(d, MakeTable({"姓名", "语文"}, {{"乙", "3"}, {"丙", "4"}})));
    // Source cells "  " 姓名 语文 | 1 乙 3 | 2 丙 4 are taken four per row: the first four would fall on
    // row 1, which holds a student and keeps it; the rest are laid from row 2.
    EXPECT_EQ(d.table.cellTexts(), (Values{"  ", "姓名", "语文", "数学", "1", "甲", "1", "2", "2", "3", "2",
                                           "丙", "3", "", "", ""}));

    // A table without students takes the source's titles as its own.
    Document empty;
    empty.table = MakeTable({"姓名", "语文"}, {});
    ASSERT_TRUE(AppendTable(empty, MakeTable({"名字", "语文"}, {{"乙", "3"}})));
    EXPECT_EQ(empty.table.headerLayout(), "  |名字|语文");
    EXPECT_EQ(Column(empty.table, 1), Values{"乙"});
}

TEST(WholeTableImport, ATableOfNamesOnlyAddsItsRowsAndMarksTheTableModified) {
    // Its two fields' cells shift onto the student's row, which keeps its marks: the new row stays empty.
    Document d;
    d.table = MakeTable({"姓名", "学号", "语文", "数学"}, {{"甲", "1", "60", "70"}});
    ASSERT_TRUE(AppendTable(d, MakeTable({"姓名"}, {{"乙"}})));
    EXPECT_EQ(d.table.rows(), 3);
    EXPECT_EQ(Column(d.table, 1), (Values{"甲", ""}));
    EXPECT_TRUE(d.modified());
}

TEST(WholeTableImport, ImportedStudentsGetTheColumnFormulasOfTheTable) {
    const std::string sum = "！公式：cell(?,2)+cell(?,3)";
    Document d;
    d.table = MakeTable({"姓名", "语文", "数学", "总分"}, {{"甲", "60", "70", sum}, {"", "", "", ""}});
    // The source has the same fields: 乙 without a total, 丙 with a typed one, then an empty row.
    ASSERT_TRUE(AppendTable(d, MakeTable({"姓名", "语文", "数学", "总分"},
                                         {{"乙", "80", "90", ""}, {"丙", "1", "2", "3"}, {"", "", "", ""}})));
    EXPECT_EQ(Column(d.table, 1), (Values{"甲", "", "乙", "丙", ""}));
    EXPECT_EQ(Column(d.table, 4), (Values{sum, "", sum, "3", ""}));
    EXPECT_TRUE(d.modified());
}

TEST(WholeTableImport, UnsoundOrOversizedSourceChangesNothing) {
    TempDir dir;
    Document d;
    d.table = MakeClass(5, "A");
    const GradeTable before = d.table;
    RecordingStatus status;
    for (const std::string& bad :
         {GbkLines({"not a data file", "T", "1", "1", "", "", "", "  "}),
          GbkLines({"KVL'S Scorvane数据文件", "T", "3", "2", "", "", "", "  ", "A", "1"}),
          GbkLines({"KVL'S Scorvane数据文件", "T", "two", "1", "", "", "", "  "})}) {
        testing::WriteBytes(dir.file("bad.skv"), bad);
        ScriptedPrompter p;
        EXPECT_EQ(ImpData(d, dir.file("bad"), p, status), ImportOutcome::Refused);
        EXPECT_EQ(p.messages(), Values{"文件格式不正确!"});
        EXPECT_EQ(d.table.cellTexts(), before.cellTexts());
    }
    ScriptedPrompter quiet;
    EXPECT_EQ(ImpData(d, dir.file("missing"), quiet, status), ImportOutcome::NoFile);
    EXPECT_EQ(ImpData(d, "   ", quiet, status), ImportOutcome::NoFile);
    EXPECT_TRUE(quiet.calls().empty());
    EXPECT_FALSE(d.modified());

    // The result would pass the largest row count: said, and nothing changes; one row fewer fits.
    Document big;
    big.table = MakeClass(20000, "A");
    ScriptedPrompter p;
    EXPECT_EQ(ImpData(big, WriteTable(dir, "big", MakeClass(12767, "B")), p, status),
              ImportOutcome::TooLarge);
    EXPECT_EQ(p.messages(), Values{std::string(kImportTooLargeMessage)});
    EXPECT_EQ(big.table.rows(), 20001);
    EXPECT_FALSE(big.modified());
    EXPECT_EQ(ImpData(big, WriteTable(dir, "fits", MakeClass(12766, "B")), p, status),
              ImportOutcome::Imported);
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
    EXPECT_EQ(cancel.calls()[1].title, "导入表格文件");
    EXPECT_FALSE(d.undoAvailable());

    ScriptedPrompter p;
    p.chooseOpen(file + ".skv");
    EXPECT_EQ(menuImportAll(d, p, status), ImportOutcome::Imported);
    EXPECT_EQ(d.table.rows(), 8);
    ASSERT_TRUE(d.undo());
    EXPECT_EQ(d.table.rows(), 5);
    EXPECT_EQ(d.table.cell(4, 1), "A名4");

    // A file whose extension stands in another letter case is found, as LoadData finds it.
    testing::WriteBytes(dir.file("c.SKV"), testing::ReadBytes(file + ".skv"));
    p.chooseOpen(dir.file("c.SKV"));
    EXPECT_EQ(menuImportAll(d, p, status), ImportOutcome::Imported);
    EXPECT_EQ(d.table.rows(), 8);
}

}  // namespace
}  // namespace scorvane
