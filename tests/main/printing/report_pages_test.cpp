#include "main/printing/report_pages.h"

#include <gtest/gtest.h>

#include "support/recording_surface.h"
#include "support/scripted_prompter.h"

namespace scorvane {
namespace {

using testing::RecordingStatus;
using testing::RecordingSurface;
using testing::ScriptedPrompter;
using Op = RecordingSurface::Op;

class ReportPages : public ::testing::Test {
  protected:
    void SetUp() override {
        table = GradeTable(41, 6);  // 40 students
        table.setHeaderLayout("  |姓名|学号|语文|数学|总分");
        for (int r = 1; r < table.rows(); ++r) {
            for (int c = 1; c < table.cols(); ++c) {
                table.setCell(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
            }
        }
        source.table = &table;
        report = PrintableReportTemplate(ParseReportTemplate(
            "[Information]\r\nLinesNum=1\r\nLabelsNum=2\r\nPage=0\r\n[Lines]\r\n0=9000,1500,1000,1500,1\r\n"
            "1=1000,1500,1000,4500,2\r\n[Labels]\r\n0=成绩通知单 600 3500 黑体 -1 0 16 0 0 0\r\n"
            "1=！引用数据 1700 1200 宋体 0 0 10 0 0 255\r\n2=！引用数据 2200 1200 宋体 0 0 10 0 0 0\r\n"));
        ASSERT_EQ(report.labels.size(), 3u);
    }

    GradeTable table;
    ReportSource source;
    PrintableTemplate report;
    ReportBindings bindings;
    ScriptedPrompter prompter;
    RecordingStatus status;
};

TEST_F(ReportPages, EveryRowIsAPageWithTheTemplatesLinesAndLabels) {
    bindings.bind(2, 1, "！引用数据", "姓名");
    RecordingSurface printer;
    ASSERT_TRUE(PrintReport(printer, report, bindings, source, AllReportRows(table), prompter, status));
    EXPECT_EQ(printer.pages(), 40);
    EXPECT_EQ(printer.count(Op::NewPage), 39);
    EXPECT_EQ(printer.count(Op::EndJob), 1);
    EXPECT_EQ(printer.count(Op::Line), 80);
    EXPECT_TRUE(prompter.calls().empty());
    EXPECT_EQ(printer.orientation(), PageOrientation::Portrait);

    const Op& name = printer.textOp("r40c1");
    EXPECT_EQ(name.page, 39);
    EXPECT_EQ(name.x1, 1200);
    EXPECT_EQ(name.y1, 1700);
    EXPECT_EQ(name.color, 255u);
    EXPECT_EQ(name.font.size, 10);
    const Op& title = printer.textOp("成绩通知单");
    EXPECT_EQ(title.font.name, "黑体");
    EXPECT_TRUE(title.font.bold);
    EXPECT_EQ(title.color, 0u);
    const Op line = printer.ops(Op::Line)[1];
    EXPECT_EQ((std::vector<double>{line.x1, line.y1, line.x2, line.y2}),
              (std::vector<double>{1000, 1500, 1000, 4500}));
    EXPECT_EQ(line.color, kBlack);
    // The unbound "！引用数据" prints as it stands.
    EXPECT_EQ(printer.textOp("！引用数据").y1, 2200);
}

TEST_F(ReportPages, ABoundValueWiderThanThePageFromItsLabelsLeftPrintsWithinThePage) {
    // Label 2 prints at Left 1200 in 宋体 10: 11907 - 1200 = 10707 twips of room, a Chinese character
    // 200 wide and a digit 100 (recording metrics).
    auto repeat = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) {
            out += s;
        }
        return out;
    };
    struct Case {
        std::string value;
        std::string printed;
        double size;
    };
    const std::vector<Case> cases = {
        {"张三", "张三", 10},
        {repeat("评", 60), repeat("评", 60), 8.5},                        // 60 x 170 = 10200
        {repeat("1", 300), repeat("#", 107), 10},                         // a number never cut
        {repeat("评", 300), repeat("评", 106) + "…", 5},                  // 107 x 100 at 5 points
        {repeat("评", 60) + "\r\n短", repeat("评", 60) + "\r\n短", 8.5},  // every line the same size
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        table.setCell(static_cast<int>(i) + 1, 1, cases[i].value);
    }
    bindings.bind(2, 1, "！引用数据", "姓名");
    RecordingSurface printer;
    DrawReportPages(printer, report, bindings, source, {1, static_cast<int>(cases.size())});
    for (size_t i = 0; i < cases.size(); ++i) {
        std::string printed;
        double size = 0;
        for (const Op& op : printer.ops(Op::Text)) {
            if (op.page == static_cast<int>(i) && op.x1 == 1200 && op.y1 < 2200) {  // label 2 only
                printed += (printed.empty() ? "" : "\r\n") + op.text;
                size = op.font.size;
                EXPECT_LE(op.x2, 11907) << i;
            }
        }
        EXPECT_EQ(printed, cases[i].printed) << i;
        EXPECT_EQ(size, cases[i].size) << i;
    }
    // The template's own captions are left as the designer drew them.
    EXPECT_EQ(printer.textOp("成绩通知单").font.size, 16);
}

TEST_F(ReportPages, BindingListKeepsOneEntryPerPairAndTheLastBindingWins) {
    EXPECT_TRUE(bindings.bind(2, 3, "！引用数据", "语文"));
    EXPECT_FALSE(bindings.bind(2, 3, "！引用数据", "语文"));
    EXPECT_TRUE(bindings.bind(2, 5, "！引用数据", "总分"));
    EXPECT_EQ(bindings.size(), 2u);
    EXPECT_EQ(bindings.displayText(0), "！引用数据 = 语文");
    EXPECT_EQ(bindings.indexText(1), "2 = 5");
    EXPECT_EQ(bindings.columnFor(2), 5);
    EXPECT_EQ(bindings.columnFor(3), 0);

    // Values come through the value function (a formula's value).
    source.value = [&](int r, int c) { return "值" + std::to_string(r) + "_" + std::to_string(c); };
    RecordingSurface printer;
    DrawReportPages(printer, report, bindings, source, {7, 7});
    EXPECT_TRUE(printer.hasText("值7_5"));
    EXPECT_FALSE(printer.hasText("值7_3"));
    EXPECT_EQ(printer.pages(), 1);
}

TEST_F(ReportPages, ValueWithLineBreaksPrintsAsLinesAtTheLabelsLeft) {
    table.setCell(3, 2, "第一行\r\n第二行\r\n第三行");
    bindings.bind(3, 2, "！引用数据", "学号");
    RecordingSurface printer;
    DrawReportPages(printer, report, bindings, source, {3, 3});
    for (int i = 0; i < 3; ++i) {
        const Op& line = printer.textOp(i == 0 ? "第一行" : i == 1 ? "第二行" : "第三行");
        EXPECT_EQ(line.x1, 1200);
        EXPECT_EQ(line.y1, 2200 + i * RecordingSurface::LineHeight(10));
    }
}

TEST_F(ReportPages, RangeEndingBeforeItsStartPrintsNothingButEndsTheJob) {
    RecordingSurface printer;
    EXPECT_TRUE(PrintReport(printer, report, bindings, source, {9, 5}, prompter, status));
    EXPECT_TRUE(printer.texts().empty());
    EXPECT_EQ(printer.count(Op::NewPage), 0);
    EXPECT_EQ(printer.count(Op::EndJob), 1);

    RecordingSurface one;
    DrawReportPages(one, report, bindings, source, {5, 5});
    EXPECT_EQ(one.pages(), 1);
    EXPECT_EQ(one.count(Op::NewPage), 0);

    RecordingSurface beyond;  // rows outside the table are not printed
    DrawReportPages(beyond, report, bindings, source, {39, 99});
    EXPECT_EQ(beyond.pages(), 2);
}

TEST_F(ReportPages, LandscapeTurnsThePaper) {
    report.landscape = true;
    RecordingSurface printer;
    DrawReportPages(printer, report, bindings, source, {1, 1});
    EXPECT_EQ(printer.orientation(), PageOrientation::Landscape);
}

TEST_F(ReportPages, UnbindingAsksFirst) {
    bindings.bind(2, 1, "！引用数据", "姓名");
    bindings.bind(3, 2, "！引用数据", "学号");
    prompter.answer(Answer::No).answer(Answer::Yes);
    EXPECT_FALSE(UnbindWithQuestion(bindings, 0, prompter));
    EXPECT_EQ(bindings.size(), 2u);
    EXPECT_TRUE(UnbindWithQuestion(bindings, 0, prompter));
    ASSERT_EQ(bindings.size(), 1u);
    EXPECT_EQ(bindings.indexText(0), "3 = 2");
    ASSERT_EQ(prompter.questions().size(), 2u);
    EXPECT_EQ(prompter.questions()[0], "是否取消绑定：！引用数据 = 姓名 ？");
    EXPECT_EQ(prompter.calls()[0].title, "提示");
    EXPECT_EQ(prompter.calls()[0].buttons, Buttons::YesNo);
    EXPECT_FALSE(UnbindWithQuestion(bindings, 5, prompter));  // nothing selected: no question
    EXPECT_EQ(prompter.calls().size(), 2u);
}

TEST_F(ReportPages, PrinterFailureStopsAndIsReported) {
    RecordingSurface printer;
    printer.failAtPage(3);
    EXPECT_FALSE(PrintReport(printer, report, bindings, source, AllReportRows(table), prompter, status));
    EXPECT_EQ(printer.pages(), 3);
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"打印错误，请检查 打印机连接！"}));
    EXPECT_EQ(prompter.calls()[0].icon, Icon::Error);
}

}  // namespace
}  // namespace scorvane
