// The limits of a table: 32,766 students (32,767 rows with the titles) and a formula of 32,766
// characters open, compute, sort, export and print in the engine, on the command line and in the
// table window; a table at the row limit refuses to grow with the program's message.

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "common/file_io.h"
#include "main/document/cell_value.h"
#include "main/document/data_file.h"
#include "main/exchange/csv_export.h"
#include "main/exchange/table_import.h"
#include "main/formula/evaluator.h"
#include "main/formula/formula_cell.h"
#include "main/formula/formula_commands.h"
#include "main/formula/sort_rows.h"
#include "main/formula/ui/sort_dialog.h"
#include "main/printing/table_page_layout.h"
#include "main/workspace/ui/frame_fixture.h"
#include "support/recording_surface.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

constexpr int kStudents = GradeTable::kMaxCount - 1;  // 32,766
constexpr int kTotalCol = 13;                         // 总分 of the marks table
constexpr int kLongRefs = 3276;

// The longest formula a cell holds for the evaluator: 32,766 characters, 3,276 references to the
// first mark of its row (padded with spaces), which expand to far fewer characters.
std::string LongestFormula() {
    std::string formula = "cell(?,3)";
    for (int i = 1; i < kLongRefs; ++i) {
        formula += "+cell(?,3)";
    }
    formula.resize(kMaxExpressionLength - 1, ' ');
    return formula;
}

// The marks table at the row limit, with the longest formula as the first student's total.
GradeTable LimitTable() {
    GradeTable t = testing::MakeMarksTable(kStudents, 7);
    t.setCell(1, kTotalCol, std::string(kFormulaMarker) + LongestFormula());
    return t;
}

long long Mark(const GradeTable& t, int row) {
    return std::stoll(t.cell(row, 3));
}

TEST(Limits, TheEngineHandlesTheLargestTableAndTheLongestFormula) {
    ASSERT_EQ(LongestFormula().size(), 32766u);
    TempDir dir;
    ASSERT_TRUE(WriteDataFile(LimitTable(), dir.file("最大")));
    Document document;
    GradeTable& t = document.table;
    ASSERT_TRUE(ParseDataFile(ReadBytes(dir.file("最大.skv")), t));
    ASSERT_EQ(t.rows(), GradeTable::kMaxCount);
    EXPECT_EQ(公式2值(t, 1, kTotalCol), std::to_string(kLongRefs * Mark(t, 1)));

    EXPECT_EQ(CheckAllFormulas(document), 0);  // every formula computes
    // Sorting by the total moves every row, the longest formula with its own row.
    const std::string longFormula = t.cell(1, kTotalCol);
    const std::string longName = t.cell(1, 1);
    ASSERT_TRUE(SortRows(document, kTotalCol, true));
    double previous = 1e300;
    int longRow = -1;
    for (int r = 1; r < t.rows(); ++r) {
        const double total = std::stod(公式2值(t, r, kTotalCol));
        ASSERT_LE(total, previous) << r;
        previous = total;
        if (t.cell(r, 1) == longName && t.cell(r, kTotalCol) == longFormula) {
            longRow = r;
        }
    }
    ASSERT_GT(longRow, 0);
    EXPECT_EQ(公式2值(t, longRow, kTotalCol), std::to_string(kLongRefs * Mark(t, longRow)));

    // Export: the title line, one line per row, the empty last line.
    const std::string csv = CsvExportText(t, FormulaValues(t));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), GradeTable::kMaxCount + 2);

    // Print: every page, the longest formula's value on its row.
    testing::RecordingSurface paper;
    TablePrintSettings settings;
    settings.title = t.title;
    testing::ScriptedPrompter prompter;
    testing::RecordingStatus status;
    ASSERT_TRUE(PrintTable(paper, TablePrintSourceFor(t, paper), settings, prompter, status));
    EXPECT_GE(paper.pages(), PrintPageCount(kStudents));
    EXPECT_TRUE(paper.hasText(std::to_string(kLongRefs * Mark(t, longRow))));
    EXPECT_TRUE(paper.hasText(t.cell(kStudents, 1)));  // the last student

    // Compute: every formula becomes its value.
    EXPECT_EQ(ReplaceFormulasByValues(t), 2 * kStudents);
    EXPECT_EQ(t.cell(longRow, kTotalCol), std::to_string(kLongRefs * Mark(t, longRow)));

    // At the row limit the table takes no more rows.
    const std::vector<std::string> before = t.cellTexts();
    EXPECT_FALSE(AppendTable(document, testing::MakeClass(1, "新")));
    EXPECT_EQ(t.cellTexts(), before);
}

TEST(Limits, TheCommandLineHandlesTheLargestTable) {
    TempDir dir;
    ASSERT_TRUE(WriteDataFile(LimitTable(), dir.file("最大")));
    const std::string table = dir.file("最大.skv");
    testing::ProgramResult r =
        testing::RunCli({"sort", table, "--by", "总分", "--desc", "-o", dir.file("排序.skv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = testing::RunCli({"compute", dir.file("排序.skv"), "-o", dir.file("计算.skv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    GradeTable computed;
    ASSERT_TRUE(ParseDataFile(ReadBytes(dir.file("计算.skv")), computed));
    EXPECT_EQ(computed.rows(), GradeTable::kMaxCount);
    r = testing::RunCli({"csv", table, "-o", dir.file("导出.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The whole table prints in the engine test; here the last page, through the PDF file.
    r = testing::RunCli(
        {"print", table, "-o", dir.file("打印.pdf"), "--page", std::to_string(PrintPageCount(kStudents))});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir.file("打印.pdf")).substr(0, 5), "%PDF-");
    // A whole import that would pass the limit is refused and writes nothing.
    r = testing::RunCli({"append", table, table, "-o", dir.file("追加.skv")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("导入后的表格超过 32767 行，无法导入！"), std::string::npos) << r.err;
    EXPECT_FALSE(FileExists(dir.file("追加.skv")));
}

using LimitsWindowTest = testing::FrameTest;

TEST_F(LimitsWindowTest, TheTableWindowHandlesTheLargestTable) {
    MainWindow& w = start();
    ASSERT_TRUE(WriteDataFile(LimitTable(), dir.file("最大")));
    TableWindow* t = w.openTable(dir.file("最大"));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->grid()->model()->rowCount(), kStudents);
    t->grid()->scrollToBottom();
    testing::Flush();
    t->setCurrentCell(kStudents, kTotalCol);
    EXPECT_EQ(t->positionBox()->text(), "行:32766列:13");

    // Sort through the sort dialog, descending by the current column's field.
    t->setCurrentCell(1, kTotalCol);
    dialogs.then([](QDialog& d) { static_cast<SortDialog&>(d).okButton()->click(); });
    w.toolbarButton(MainWindow::kSortDescending)->trigger();
    const GradeTable& table = t->document().table;
    EXPECT_GE(std::stod(公式2值(table, 1, kTotalCol)), std::stod(公式2值(table, kStudents, kTotalCol)));

    // Export and compute.
    prompter.chooseSave(dir.file("导出.csv"));
    t->saveCsv();
    EXPECT_TRUE(FileExists(dir.file("导出.csv")));
    prompter.answer(Answer::Ok);
    t->computeAllFormulas();
    EXPECT_FALSE(IsFormula(table.cell(1, kTotalCol)));

    // Growth is refused with the program's message; the table stays as it was.
    prompter.clear();
    ASSERT_TRUE(WriteDataFile(testing::MakeClass(1, "新"), dir.file("一行")));
    prompter.chooseOpen(dir.file("一行.skv"));
    t->importWholeTable();
    EXPECT_EQ(prompter.messages().back(), "导入后的表格超过 32767 行，无法导入！");
    EXPECT_EQ(table.rows(), GradeTable::kMaxCount);
    EXPECT_EQ(t->grid()->model()->rowCount(), kStudents);
}

}  // namespace
}  // namespace scorvane
