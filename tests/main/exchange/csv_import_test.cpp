#include "main/exchange/csv_import.h"

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::Column;
using testing::MakeTable;
using testing::RecordingStatus;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::WriteBytes;
using Values = std::vector<std::string>;

Document FiveStudents() {
    Document d;
    d.table = MakeTable({"姓名", "学号", "语文", "数学"}, {{"甲", "1", "a", "m"},
                                                           {"乙", "2", "b", "m"},
                                                           {"丙", "3", "c", "m"},
                                                           {"丁", "4", "d", "m"},
                                                           {"戊", "5", "e", "m"}});
    return d;
}

TEST(CsvImportReading, SeparatesValuesByCommasAndLineEnds) {
    EXPECT_EQ(ParseCsvValues("85,90\r\n77"), (Values{"85", "90", "77"}));
    EXPECT_EQ(ParseCsvValues("85,90\n77\n"), (Values{"85", "90", "77"}));
    // Empty lines give nothing; two commas in a row, a leading or a trailing comma give an empty value.
    EXPECT_EQ(ParseCsvValues("\r\n1\r\n\r\n\n2\r\n   \r\n"), (Values{"1", "2"}));
    EXPECT_EQ(ParseCsvValues("1,,2\r\n,3\r\n4,"), (Values{"1", "", "2", "", "3", "4", ""}));
    EXPECT_TRUE(ParseCsvValues("").empty());
}

TEST(CsvImportReading, TrimsUnquotedValuesAndKeepsQuotedOnesWhole) {
    EXPECT_EQ(ParseCsvValues("  85 ,\t90\t, 7 7 "), (Values{"85", "90", "7 7"}));
    EXPECT_EQ(ParseCsvValues("\"a, b\", \" c \",\"say \"\"hi\"\"\""), (Values{"a, b", " c ", "say \"hi\""}));
    // A quote inside an unquoted value is kept as it is.
    EXPECT_EQ(ParseCsvValues("5\"6,ab\"c\""), (Values{"5\"6", "ab\"c\""}));
    // A quoted value may span lines; text after its closing quote joins it.
    EXPECT_EQ(ParseCsvValues("\"line1\r\nline2\",x\r\n\"ab\"cd ,\"\""),
              (Values{"line1\r\nline2", "x", "abcd", ""}));
    // An unclosed quote runs to the end of the text.
    EXPECT_EQ(ParseCsvValues("1,\"open, still\r\n2"), (Values{"1", "open, still\r\n2"}));
}

TEST(CsvImportReading, DetectsGbkAndUtf8WithOrWithoutByteOrderMark) {
    const std::string utf8 = "张三,李四\r\n王五";
    const Values expected{"张三", "李四", "王五"};
    EXPECT_EQ(ParseCsvValues(DecodeCsvBytes(EncodeGbk(utf8))), expected);
    EXPECT_EQ(ParseCsvValues(DecodeCsvBytes(utf8)), expected);
    EXPECT_EQ(ParseCsvValues(DecodeCsvBytes("\xEF\xBB\xBF" + utf8)), expected);
    EXPECT_EQ(DecodeCsvBytes("\xEF\xBB\xBF"), "");
    // Damaged bytes after the mark reach no cell as they are: each becomes U+FFFD.
    EXPECT_EQ(ParseCsvValues(DecodeCsvBytes("\xEF\xBB\xBF"
                                            "张三,\xD0"
                                            "d,\xCA\xFD")),
              (Values{"张三",
                      "\uFFFD"
                      "d",
                      "\uFFFD\uFFFD"}));
}

TEST(CsvImportIntoColumn, FillsRowsFromOneAndLeavesTheRest) {
    Document d = FiveStudents();
    EXPECT_EQ(PutValuesIntoColumn(d, 3, ParseCsvValues("85,90\r\n77")), 3);
    EXPECT_EQ(Column(d.table, 3), (Values{"85", "90", "77", "d", "e"}));
    EXPECT_EQ(d.table.cell(0, 3), "语文");
    EXPECT_EQ(Column(d.table, 4), (Values{"m", "m", "m", "m", "m"}));
    EXPECT_TRUE(d.modified());

    // Eight values into five rows: the last three are dropped.
    Document e = FiveStudents();
    EXPECT_EQ(PutValuesIntoColumn(e, 3, ParseCsvValues("1,2,3,4,5,6,7,8")), 5);
    EXPECT_EQ(Column(e.table, 3), (Values{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(e.table.rows(), 6);

    // Equal values change nothing; column 0 and columns outside the table are never written.
    Document same = FiveStudents();
    PutValuesIntoColumn(same, 3, Values{"a", "b"});
    EXPECT_EQ(PutValuesIntoColumn(same, 0, Values{"x"}) + PutValuesIntoColumn(same, 5, Values{"x"}), 0);
    EXPECT_FALSE(same.modified());
    EXPECT_EQ(same.table.cell(1, 0), "1");
}

TEST(CsvImportIntoColumn, MenuCommandAsksTakesSnapshotAndReadsTheFile) {
    TempDir dir;
    const std::string file = dir.file("marks.csv");
    WriteBytes(file, EncodeGbk("85,\"九十\"\r\n77\r\n"));

    Document untouched = FiveStudents();
    ScriptedPrompter q;
    q.answer(Answer::No).answer(Answer::Yes).chooseOpen("");
    RecordingStatus status;
    EXPECT_EQ(menuImportCVS(untouched, 3, q, status), CsvImportOutcome::Declined);
    EXPECT_EQ(q.questions(), Values{"本操作将会覆盖第 3 列(语文)的所有数据，是否继续？"});
    EXPECT_EQ(q.calls().size(), 1u);  // no file dialog
    EXPECT_EQ(menuImportCVS(untouched, 3, q, status), CsvImportOutcome::Cancelled);
    EXPECT_EQ(q.calls()[2].text, "*.txt;*.csv");
    EXPECT_EQ(q.calls()[2].title, kCsvOpenTitle);
    EXPECT_FALSE(untouched.undoAvailable());
    EXPECT_FALSE(untouched.modified());

    Document d = FiveStudents();
    ScriptedPrompter yes;
    yes.answer(Answer::Yes).chooseOpen(file);
    RecordingStatus busy;
    EXPECT_EQ(menuImportCVS(d, 3, yes, busy), CsvImportOutcome::Imported);
    EXPECT_EQ(Column(d.table, 3), (Values{"85", "九十", "77", "d", "e"}));
    EXPECT_TRUE(d.modified());
    EXPECT_EQ(busy.texts, (Values{"文件导入中...", "就绪"}));
    ASSERT_TRUE(d.undo());
    EXPECT_EQ(Column(d.table, 3), (Values{"a", "b", "c", "d", "e"}));

    // A file that cannot be read (here a folder) is reported and changes nothing.
    yes.answer(Answer::Yes).chooseOpen(dir.path());
    EXPECT_EQ(menuImportCVS(d, 3, yes, busy), CsvImportOutcome::Failed);
    EXPECT_EQ(yes.messages(), Values{std::string(kCsvReadFailedMessage)});
    EXPECT_EQ(Column(d.table, 3), (Values{"a", "b", "c", "d", "e"}));
}

}  // namespace
}  // namespace scorvane
