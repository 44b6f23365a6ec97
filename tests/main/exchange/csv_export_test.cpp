#include "main/exchange/csv_export.h"

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "main/document/cell_value.h"
#include "main/document/data_file.h"
#include "main/exchange/csv_import.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using testing::ReadBytes;
using testing::RecordingStatus;
using testing::ScriptedPrompter;
using testing::TempDir;

TEST(CsvExport, WritesCaptionRowLinesWithLeadingCommasAndClosingEmptyLine) {
    GradeTable t = MakeTable({"A"}, {{"85"}}, "T");
    EXPECT_EQ(CsvExportText(t, nullptr), "T\r\n,  ,A\r\n,1,85\r\n\r\n");

    // Every row line has as many commas as the table has columns, empty cells included.
    GradeTable wide =
        MakeTable({"姓名", "语文", "备注"}, {{"张三", "", ""}, {"李四", "90", ""}}, "高一(1)班");
    EXPECT_EQ(CsvExportText(wide, nullptr),
              "高一(1)班\r\n,  ,姓名,语文,备注\r\n,1,张三,,\r\n,2,李四,90,\r\n\r\n");
    // The file is GBK.
    EXPECT_EQ(CsvExportBytes(wide, nullptr), EncodeGbk(CsvExportText(wide, nullptr)));
}

TEST(CsvExport, WritesFormulaCellsAsTheirValues) {
    GradeTable t = MakeTable({"语文", "数学", "总分"}, {{"80", "90", "！公式：cell(?,1)+cell(?,2)"}}, "T");
    t.dataFormat = "0.0";
    EXPECT_EQ(CsvExportText(t, FormulaValues(t)), "T\r\n,  ,语文,数学,总分\r\n,1,80,90,170.0\r\n\r\n");
}

TEST(CsvExport, QuotesValuesThatWouldBreakTheirCellAndReadsThemBackWhole) {
    GradeTable t =
        MakeTable({"姓名", "备注"},
                  {{"张三", "好,很好"}, {"李四", "说\"加油\""}, {"王五", "第一行\r\n第二行"}, {" 赵六", "x"}},
                  "期中,高一");
    const std::string text = CsvExportText(t, nullptr);
    EXPECT_EQ(text,
              "\"期中,高一\"\r\n,  ,姓名,备注\r\n,1,张三,\"好,很好\"\r\n,2,李四,\"说\"\"加油\"\"\"\r\n"
              ",3,王五,\"第一行\r\n第二行\"\r\n,4, 赵六,x\r\n\r\n");

    // The import reads the same cells back: each row line starts with an empty value (the leading comma).
    std::vector<std::string> values = ParseCsvValues(DecodeCsvBytes(CsvExportBytes(t, nullptr)));
    ASSERT_EQ(values.size(), 1u + 5 * 4);
    EXPECT_EQ(values[0], "期中,高一");
    EXPECT_EQ(values[8], "好,很好");
    EXPECT_EQ(values[12], "说\"加油\"");
    EXPECT_EQ(values[16], "第一行\r\n第二行");
    EXPECT_EQ(values[19], "赵六");  // unquoted blanks are trimmed on import
    EXPECT_EQ(values[20], "x");
}

TEST(CsvExport, MenuCommandWritesAtomicallyAndReports) {
    TempDir dir;
    GradeTable t = MakeTable({"A"}, {{"85"}}, "T");

    ScriptedPrompter p;
    p.chooseSave("").chooseSave(dir.file("out.csv"));
    RecordingStatus status;
    EXPECT_EQ(menuSaveCVS(t, nullptr, p, status), CsvExportOutcome::Cancelled);
    EXPECT_TRUE(status.texts.empty());
    EXPECT_EQ(menuSaveCVS(t, nullptr, p, status), CsvExportOutcome::Saved);
    EXPECT_EQ(ReadBytes(dir.file("out.csv")), "T\r\n,  ,A\r\n,1,85\r\n\r\n");
    EXPECT_EQ(p.calls()[1].text, "*.csv");
    EXPECT_EQ(p.calls()[1].suggestedName, t.title);  // the title is the name offered
    EXPECT_EQ(p.messages(), std::vector<std::string>{std::string(kCsvSavedMessage)});
    EXPECT_EQ(status.texts, (std::vector<std::string>{"正在保存文件...", "就绪"}));

    // A folder that cannot be made (a file stands in its place): failure is said, never success.
    testing::WriteBytes(dir.file("blocker"), "x");
    ScriptedPrompter failing;
    failing.chooseSave(dir.file("blocker/out.csv"));
    EXPECT_EQ(menuSaveCVS(t, nullptr, failing, status), CsvExportOutcome::Failed);
    EXPECT_EQ(failing.messages(), std::vector<std::string>{std::string(kSaveFailedMessage)});
    EXPECT_EQ(failing.last().icon, Icon::Error);
}

}  // namespace
}  // namespace scorvane
