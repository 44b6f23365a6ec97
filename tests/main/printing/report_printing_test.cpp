#include "main/printing/report_printing.h"

#include <gtest/gtest.h>

#include "support/recording_surface.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::RecordingSurface;
using testing::ScriptedPrompter;
using testing::TempDir;
using Op = RecordingSurface::Op;

TemplateLabel Label(const std::string& caption, double top, double left) {
    TemplateLabel label;
    label.caption = caption;
    label.top = top;
    label.left = left;
    return label;
}

class ReportPrintingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        card.lineRecords = {"1000,1500,9000,1500,1", "1000,1500,1000,4500,2"};
        card.labels = {Label("成绩通知单", 600, 3500), Label("！引用数据", 1700, 1200),
                       Label("！引用数据", 2200, 1200)};
        ASSERT_TRUE(WriteReportTemplate(card, dir.file("card.rvx")));
        ReportTemplate other;
        other.landscape = true;
        other.lineRecords = {"0,0,16840,0,1"};
        other.labels = {Label("家长签名", 9000, 12000)};
        ASSERT_TRUE(WriteReportTemplate(other, dir.file("other.rvx")));
    }

    GradeTable table = testing::MakeTable(
        {" 姓名 ", "语文", "总分"}, {{"张三", "80", "！公式：[?,2]+10"}, {"李四", "60", "！公式：[?,2]+10"}});
    ReportPrinting printing{{&table, [this](int r, int c) {
                                 return c == 3 ? std::to_string(std::stoi(table.cell(r, 2)) + 10)
                                               : table.cell(r, c);
                             }}};
    TempDir dir;
    ScriptedPrompter prompter;
    ReportTemplate card;
};

TEST_F(ReportPrintingTest, FieldsAndRowsComeFromTheTable) {
    EXPECT_EQ(printing.fieldNames(), (std::vector<std::string>{"姓名", "语文", "总分"}));
    EXPECT_EQ(printing.rowCount(), 2);
    EXPECT_FALSE(printing.hasTemplate());
    // Nothing to bind before a template is open.
    EXPECT_FALSE(printing.bind(1, 1));
}

TEST_F(ReportPrintingTest, OpeningATemplateReplacesTheOneBeforeCompletely) {
    prompter.chooseOpen("");
    EXPECT_FALSE(printing.openTemplate(prompter));
    EXPECT_EQ(prompter.calls()[0].text, "*.rvx");
    EXPECT_EQ(prompter.calls()[0].title, "打开");

    prompter.chooseOpen(dir.file("card.rvx"));
    ASSERT_TRUE(printing.openTemplate(prompter));
    EXPECT_TRUE(printing.hasTemplate());
    EXPECT_FALSE(printing.landscape());
    EXPECT_EQ(printing.labelCaptions(), (std::vector<std::string>{"成绩通知单", "！引用数据", "！引用数据"}));
    ASSERT_TRUE(printing.bind(2, 1));
    EXPECT_FALSE(printing.bind(2, 1));  // the same pair once only
    EXPECT_TRUE(printing.bind(3, 3));
    EXPECT_FALSE(printing.bind(4, 1));
    EXPECT_FALSE(printing.bind(1, 4));
    EXPECT_EQ(printing.bindings().displayText(0), "！引用数据 = 姓名");
    EXPECT_EQ(printing.bindings().indexText(1), "3 = 3");

    ASSERT_TRUE(printing.openTemplateFile(dir.file("other.rvx"), prompter));
    EXPECT_TRUE(printing.landscape());
    EXPECT_EQ(printing.labelCaptions(), (std::vector<std::string>{"家长签名"}));
    EXPECT_EQ(printing.bindings().size(), 0u);
    RecordingSurface picture(RecordingSurface::Kind::Picture);
    printing.drawTemplate(picture);
    EXPECT_EQ(picture.width(), kA4Height);  // landscape
    EXPECT_EQ(picture.texts(), (std::vector<std::string>{"家长签名"}));
    EXPECT_EQ(picture.count(Op::Line), 1);
    EXPECT_EQ(picture.count(Op::Box), 0);
    EXPECT_TRUE(prompter.messages().empty());

    // The label chosen for binding is framed in red around its caption.
    RecordingSurface marked(RecordingSurface::Kind::Picture);
    printing.drawTemplate(marked, 1);
    ASSERT_EQ(marked.count(Op::Box), 1);
    const Op box = marked.ops(Op::Box)[0];
    EXPECT_EQ(box.color, Rgb(255, 0, 0));
    EXPECT_EQ(box.x1, 12000 - 30);
    EXPECT_EQ(box.x2, 12000 + 4 * RecordingSurface::CharWidth(9, true) + 30);
    EXPECT_EQ(box.y2, 9000 + RecordingSurface::LineHeight(9) + 30);
}

TEST_F(ReportPrintingTest, AFileThatCannotBeReadOrIsNoTemplateChangesNothing) {
    ASSERT_TRUE(printing.openTemplateFile(dir.file("card.rvx"), prompter));
    printing.bind(2, 1);
    EXPECT_FALSE(printing.openTemplateFile(dir.file("missing.rvx"), prompter));
    testing::WriteBytes(dir.file("table.rvx"), "not a template\r\n");
    EXPECT_FALSE(printing.openTemplateFile(dir.file("table.rvx"), prompter));
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"文件读取失败！", "文件格式不正确!"}));
    EXPECT_EQ(printing.labelCaptions().size(), 3u);
    EXPECT_EQ(printing.bindings().size(), 1u);
}

TEST_F(ReportPrintingTest, DamagedRecordsArePassedOverAndSaidAsTheCommandLineSaysThem) {
    testing::WriteBytes(
        dir.file("bad.rvx"),
        testing::GbkLines({"[Information]", "LinesNum=1", "LabelsNum=1", "[Lines]", "0=1,2,3,4,1", "1=oops",
                           "[Labels]", "0=好 1 2 宋体 0 0 9 0 0 0", "1=坏 1 x"}));
    ASSERT_TRUE(printing.openTemplateFile(dir.file("bad.rvx"), prompter));
    EXPECT_EQ(printing.labelCaptions(), std::vector<std::string>{"好"});
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{"模板中有 2 条记录格式不正确，已略过。"});
}

TEST_F(ReportPrintingTest, PagesPrintTheBoundValuesOfEachRow) {
    ASSERT_TRUE(printing.openTemplateFile(dir.file("card.rvx"), prompter));
    printing.bind(2, 1);
    printing.bind(3, 3);  // a formula prints its value
    RecordingSurface printer;
    printing.drawPages(printer, {1, 2});
    EXPECT_EQ(printer.pages(), 2);
    EXPECT_EQ(printer.textOp("李四").page, 1);
    EXPECT_EQ(printer.textOp("70").y1, 2200);
    EXPECT_EQ(printer.count(Op::Line), 4);
}

TEST(ReportRows, TheOptionsChooseTheRowsAndTheEndNeverStandsBeforeTheStart) {
    EXPECT_EQ(ChosenReportRows(ReportRangeChoice::AllRows, 3, 4, 5, 40).first, 1);
    EXPECT_EQ(ChosenReportRows(ReportRangeChoice::AllRows, 3, 4, 5, 40).last, 40);
    EXPECT_EQ(ChosenReportRows(ReportRangeChoice::OneRow, 3, 4, 5, 40).first, 3);
    EXPECT_EQ(ChosenReportRows(ReportRangeChoice::OneRow, 3, 4, 5, 40).last, 3);
    EXPECT_EQ(ChosenReportRows(ReportRangeChoice::FromTo, 3, 4, 5, 40).first, 4);
    EXPECT_EQ(ChosenReportRows(ReportRangeChoice::FromTo, 3, 4, 5, 40).last, 5);
    EXPECT_EQ(KeptRangeEnd(5, 3), 5);
    EXPECT_EQ(KeptRangeEnd(5, 9), 9);
}

}  // namespace
}  // namespace scorvane
