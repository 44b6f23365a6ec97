#include "main/printing/charts.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/recording_surface.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"

namespace scorvane {
namespace {

using testing::RecordingSurface;
using testing::ScriptedPrompter;
using Op = RecordingSurface::Op;

class Charts : public ::testing::Test {
  protected:
    void SetUp() override {
        value = [this](int r, int c) { return table.cell(r, c); };
        data.title = "期中成绩";
        data.printTime = "打印时间： 2024/5/3 9:05:00";
    }

    void chooseRows(std::vector<int> rows) {
        data.rows = rows;
        data.rowLabels.clear();
        for (int r : rows) {
            data.rowLabels.push_back(table.cell(r, 1));
        }
    }
    void chooseFields(std::vector<int> fields) {
        data.fields = fields;
        data.fieldNames.clear();
        for (int c : fields) {
            data.fieldNames.push_back(table.cell(0, c));
        }
    }

    // The texts of the value axis's grid labels (they end at x = 400), from the top down.
    static std::vector<std::string> axisLabels(const RecordingSurface& surface) {
        std::vector<std::string> labels;
        for (const Op& op : surface.ops(Op::Text)) {
            if (op.x2 == 400) {
                labels.push_back(op.text);
            }
        }
        return labels;
    }

    GradeTable table = testing::MakeTable({"姓名", "语文", "数学", "英语"}, {{"张三", "80", "90", "100"},
                                                                             {"李四", "60", "", "公式错误"},
                                                                             {"王五", "100", "50", "75"},
                                                                             {"赵六", "0", "85分", "-10"},
                                                                             {"钱七", "20", "40", "60"}});
    CellValueFn value;
    ChartData data;
    RecordingSurface picture{RecordingSurface::Kind::Picture};
};

TEST(ChartValues, NumbersCountEverythingElseIsZero) {
    EXPECT_EQ(ChartValue("  92.5 "), 92.5);
    EXPECT_EQ(ChartValue("-3.5"), -3.5);
    EXPECT_EQ(ChartValue(".5"), 0.5);
    EXPECT_EQ(ChartValue("   "), 0);
    EXPECT_EQ(ChartValue("公式错误"), 0);
    EXPECT_EQ(ChartValue("85分"), 0);
    EXPECT_EQ(ChartValue("1e999"), 0);

    EXPECT_EQ(FormatChartAxisLabel(79.5), "80");
    EXPECT_EQ(FormatChartAxisLabel(-20), "-20");
    EXPECT_EQ(FormatChartAxisLabel(0.4), "");
    EXPECT_EQ(ChartPrintTimeText(2024, 5, 3, 9, 5, 0), "打印时间： 2024/5/3 9:05:00");
}

TEST(ChartValues, TheMaximumAndSegmentBoxesTakeDigitsAndNeverHoldZero) {
    for (auto [typed, kept] : std::vector<std::pair<std::string, std::string>>{
             {"120", "120"}, {"12a", "12"}, {"-1.5", "15"}, {" 7\t", "7"}, {"５", ""}, {"", ""}}) {
        EXPECT_EQ(ChartBoxDigits(typed), kept) << typed;
    }
    EXPECT_EQ(ChartBoxText(""), "1");
    EXPECT_EQ(ChartBoxText("0"), "1");
    EXPECT_EQ(ChartBoxText("000"), "1");
    EXPECT_EQ(ChartBoxText("abc"), "1");  // pasted, not typed
    EXPECT_EQ(ChartBoxText("120"), "120");
    EXPECT_EQ(ChartBoxText("07"), "07");
}

TEST_F(Charts, BarChartPlacesBarsGridLabelsAndTheSubject) {
    chooseRows({1, 2, 3, 4});
    chooseFields({2, 3});  // only the first ticked field counts
    ScriptedPrompter prompter;
    ASSERT_TRUE(PreviewChart(picture, ChartType::Bar, data, value, prompter));
    EXPECT_EQ(picture.count(Op::Clear), 1);

    auto bars = picture.ops(Op::FillBox);
    ASSERT_EQ(bars.size(), 4u);
    const double centres[] = {1167.5, 2702.5, 4237.5, 5772.5};  // the middles of four slots
    const double tops[] = {700, 1400, 0, 3500};                 // 80, 60, 100 and 0 of 100
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ((bars[i].x1 + bars[i].x2) / 2, centres[i]);
        EXPECT_EQ(bars[i].x2 - bars[i].x1, 776);
        EXPECT_DOUBLE_EQ(bars[i].y1, tops[i]);
        EXPECT_EQ(bars[i].y2, 3500);
        EXPECT_EQ(bars[i].color, Rgb(128, 128, 128));
    }

    // Grid labels from the top down: 80, 60, 40, 20 and nothing at the bottom, each centred on its line.
    EXPECT_EQ(axisLabels(picture), (std::vector<std::string>{" 80", " 60", " 40", " 20", " "}));
    const Op& sixty = picture.textOp(" 60");
    EXPECT_EQ((sixty.y1 + sixty.y2) / 2, 3500.0 * 2 / 5);

    const Op& subject = picture.textOp("学科：语文");
    EXPECT_EQ(subject.x1, 120);
    EXPECT_EQ(subject.y1, 90);
    const auto lines = picture.ops(Op::Line);  // 5 grid lines, the two axes, then the ticks
    EXPECT_EQ((std::vector<double>{lines[5].x1, lines[5].y1, lines[5].x2, lines[5].y2}),
              (std::vector<double>{400, 210, 400, 3500}));
    EXPECT_EQ((std::vector<double>{lines[8].x1, lines[8].y1, lines[8].x2, lines[8].y2}),
              (std::vector<double>{2702.5, 3450, 2702.5, 3500}));
    const Op& name = picture.textOp("张三");  // the category label, centred under its tick and bar
    EXPECT_EQ((name.x1 + name.x2) / 2, 1167.5);
    EXPECT_EQ(name.y1, 3600);
    EXPECT_EQ(name.font.size, 8);
}

TEST_F(Charts, LineChartFollowsEachRowAcrossTheFields) {
    chooseRows({1, 3});
    chooseFields({2, 3, 4});
    DrawLineChartUp(picture, 1, ChartOutput::Preview, data, value);
    auto circles = picture.ops(Op::Circle);
    ASSERT_EQ(circles.size(), 6u);
    EXPECT_NEAR(circles[0].x1, 2446.67, 0.01);
    EXPECT_NEAR(circles[1].x1, 4493.33, 0.01);
    EXPECT_EQ(circles[2].x1, 6540);
    EXPECT_DOUBLE_EQ(circles[0].y1, 700);  // 80
    EXPECT_DOUBLE_EQ(circles[1].y1, 350);  // 90
    EXPECT_EQ(circles[2].y1, 0);           // 100
    EXPECT_EQ(circles[4].y1, 1750);        // 50
    EXPECT_EQ(circles[0].x2, 30);
    EXPECT_EQ(circles[0].color, Rgb(128, 0, 0));

    // Two joining lines per row, in the line colour.
    int joins = 0;
    for (const Op& line : picture.ops(Op::Line)) {
        joins += line.color == Rgb(128, 0, 0);
    }
    EXPECT_EQ(joins, 4);

    // The row's name at its last point (75, up from 50): on the point's left, above it, ending two
    // blanks' width before it, in the line colour; then black again.
    const Op& name = picture.textOp("王五");
    EXPECT_EQ(name.x2, 6540 - 2 * 80);
    EXPECT_EQ(name.y2, 875 - 30);
    EXPECT_EQ(name.color, Rgb(128, 0, 0));
    // 张三's last point (100) is at the top of the chart: no room above, so the name goes below it.
    EXPECT_EQ(picture.textOp("张三").y1, 0 + 30);
    EXPECT_EQ(picture.textColor(), kBlack);
    EXPECT_EQ(picture.textOp("语文").y1, 3600);  // the fields name the categories
}

TEST_F(Charts, DescendingAxisPutsSmallValuesOnTopAndErrorsAtZero) {
    chooseRows({2});
    chooseFields({2, 3, 4});
    data.maximum = 60;
    DrawLineChartDown(picture, 1, ChartOutput::Preview, data, value);
    auto circles = picture.ops(Op::Circle);
    ASSERT_EQ(circles.size(), 3u);
    EXPECT_EQ(circles[0].y1, 3500);  // 60 of 60 lies on the category axis
    EXPECT_EQ(circles[1].y1, 0);     // an empty cell counts 0
    EXPECT_EQ(circles[2].y1, 0);     // an error text too
    EXPECT_EQ(axisLabels(picture), (std::vector<std::string>{" 12", " 24", " 36", " 48", " 60"}));
}

TEST_F(Charts, WithAMinimumTheAxisRunsFromItToTheMaximumAndPointsAndLabelsAgree) {
    chooseRows({3});
    chooseFields({2, 3, 4});
    data.minimum = 50;
    data.maximum = 100;
    DrawLineChartUp(picture, 1, ChartOutput::Preview, data, value);
    // Grid line 1 (y = 700) reads 50 + 0.8 * 50 = 90; the bottom line reads 50.
    EXPECT_EQ(axisLabels(picture), (std::vector<std::string>{" 90", " 80", " 70", " 60", " 50"}));
    auto circles = picture.ops(Op::Circle);
    EXPECT_EQ(circles[0].y1, 0);     // 100, the maximum, at the top of the value axis
    EXPECT_EQ(circles[1].y1, 3500);  // 50 on the axis labelled 50
    EXPECT_EQ(circles[2].y1, 1750);  // 75

    // Ranks: the minimum on top.
    RecordingSurface down{RecordingSurface::Kind::Picture};
    DrawLineChartDown(down, 1, ChartOutput::Preview, data, value);
    EXPECT_EQ(axisLabels(down), (std::vector<std::string>{" 60", " 70", " 80", " 90", " 100"}));
    EXPECT_EQ(down.ops(Op::Circle)[0].y1, 3500);
}

TEST_F(Charts, ALineChartWhoseMaximumIsNotAboveItsMinimumIsRefused) {
    chooseRows({1});
    chooseFields({2});
    for (double minimum : {100.0, 120.0}) {
        SCOPED_TRACE(minimum);
        ScriptedPrompter prompter;
        data.minimum = minimum;
        data.maximum = 100;
        EXPECT_FALSE(PreviewChart(picture, ChartType::LineDown, data, value, prompter));
        EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"最大值必须大于最小值。"}));
        EXPECT_TRUE(picture.ops().empty());
    }
    // Drawn without the check, such an axis spans one unit from the minimum: every point has a place.
    data.minimum = 100;
    data.maximum = 100;
    RecordingSurface unchecked{RecordingSurface::Kind::Picture};
    DrawLineChartUp(unchecked, 1, ChartOutput::Preview, data, value);
    ASSERT_EQ(unchecked.ops(Op::Circle).size(), 1u);
    EXPECT_EQ(unchecked.ops(Op::Circle)[0].y1, 3500 * (1 - (80.0 - 100)));  // 80 lies 20 units below
    // The bar chart stands on 0 whatever the minimum.
    ScriptedPrompter prompter;
    EXPECT_TRUE(PreviewChart(picture, ChartType::Bar, data, value, prompter));
    EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(Charts, PrintedChartIsScaledExceptLabelEdgeAndPointRadius) {
    chooseRows({1, 2, 3, 4});
    chooseFields({2});
    RecordingSurface printer;
    ScriptedPrompter prompter;
    ASSERT_TRUE(PrintChart(printer, ChartType::Bar, data, value, prompter));
    EXPECT_EQ(printer.count(Op::EndJob), 1);
    EXPECT_EQ(printer.orientation(), PageOrientation::Portrait);
    auto bars = printer.ops(Op::FillBox);
    ASSERT_EQ(bars.size(), 4u);
    EXPECT_NEAR(bars[0].x1, (1167.5 - 388) * 1.74, 1e-9);
    EXPECT_NEAR(bars[0].y1, 700 * 1.74, 1e-9);
    EXPECT_NEAR(bars[0].y2, 3500 * 1.74, 1e-9);
    const Op& top = printer.textOp(" 80");
    EXPECT_EQ(top.x2, 400);
    EXPECT_NEAR((top.y1 + top.y2) / 2, 700 * 1.74, 1e-9);
    const Op& title = printer.textOp("    期中成绩");
    EXPECT_NEAR(title.y1, 3950 * 1.74, 1e-9);
    EXPECT_EQ((title.x1 + title.x2) / 2, 11907 / 2.0);
    EXPECT_EQ(title.font.name, "黑体");
    EXPECT_EQ(title.font.size, 14);
    const Op& time = printer.textOp("打印时间： 2024/5/3 9:05:00");
    EXPECT_NEAR(time.y1, 4300 * 1.74, 1e-9);
    EXPECT_EQ(time.x2, 11907 - 367);

    RecordingSurface lines;
    chooseFields({2, 3});
    DrawLineChartUp(lines, 1.74, ChartOutput::Printer, data, value);
    EXPECT_EQ(lines.ops(Op::Circle)[0].x2, 30);
    EXPECT_NEAR(lines.ops(Op::Circle)[1].x1, 6540 * 1.74, 1e-9);
}

TEST_F(Charts, EveryWordStaysOnThePaperAndOnThePreviewPicture) {
    table = testing::MakeTable(
        {"姓名", "第一次月考成绩", "第二次月考成绩", "期末考试总成绩"},
        {{"王可馨", "80", "90", "100"}, {"欧阳文轩", "100", "50", "0"}, {"司马长风欧阳", "60", "60", "60"}});
    chooseRows({1, 2, 3});
    chooseFields({2, 3, 4});
    data.title = "高一年级第一学期期中、期末考试各科成绩对比图（全体学生）";
    for (ChartType type : {ChartType::LineUp, ChartType::LineDown, ChartType::Bar}) {
        for (bool paper : {false, true}) {
            RecordingSurface s(paper ? RecordingSurface::Kind::Printer : RecordingSurface::Kind::Picture);
            s.setSize(kChartPreviewWidth, kChartPreviewHeight);
            DrawChart(s, paper ? kChartPrintScale : kChartPreviewScale,
                      paper ? ChartOutput::Printer : ChartOutput::Preview, type, data, value);
            for (const Op& op : s.ops(Op::Text)) {
                EXPECT_GE(op.x1, 0) << op.text << " " << paper;
                EXPECT_LE(op.x2, s.width()) << op.text << " " << paper;
                EXPECT_GE(op.y1, 0) << op.text << " " << paper;
            }
            // Every name is printed whole.
            for (const char* name : {"王可馨", "欧阳文轩", "司马长风欧阳"}) {
                EXPECT_TRUE(s.hasText(name)) << name;
            }
        }
    }
}

TEST_F(Charts, NamesOfRowsEndingTogetherAreStackedNotPrintedOverEachOther) {
    // Rows ending at one point, and rows ending a little apart (less than a line's height).
    const std::vector<std::vector<std::string>> orders = {{"甲", "乙乙", "丙丙丙", "丁"},
                                                          {"丙丙丙", "乙乙", "甲", "丁"}};
    const std::vector<GradeTable> tables = {
        testing::MakeTable(
            {"姓名", "语文", "数学"},
            {{"甲", "80", "90"}, {"乙乙", "70", "90"}, {"丙丙丙", "95", "90"}, {"丁", "0", "0"}}),
        testing::MakeTable(
            {"姓名", "语文", "数学"},
            {{"甲", "88", "90"}, {"乙乙", "89", "91"}, {"丙丙丙", "92", "94"}, {"丁", "1", "3"}}),
    };
    for (size_t k = 0; k < tables.size(); ++k) {
        table = tables[k];
        chooseRows({1, 2, 3, 4});
        chooseFields({2, 3});
        for (double scale : {kChartPreviewScale, kChartPrintScale}) {
            RecordingSurface s;
            DrawLineChartUp(s, scale, ChartOutput::Printer, data, value);
            std::vector<Op> names;
            for (const char* name : {"甲", "乙乙", "丙丙丙", "丁"}) {
                names.push_back(s.textOp(name));
            }
            for (size_t i = 0; i < names.size(); ++i) {
                EXPECT_GE(names[i].y1, 0) << names[i].text;
                EXPECT_LE(names[i].y2, 3500 * scale) << names[i].text;  // above the category axis
                for (size_t j = 0; j < i; ++j) {
                    const bool apart = names[i].y2 <= names[j].y1 || names[j].y2 <= names[i].y1 ||
                                       names[i].x2 <= names[j].x1 || names[j].x2 <= names[i].x1;
                    EXPECT_TRUE(apart) << names[i].text << " over " << names[j].text << " at " << scale;
                }
            }
            // From the top down in the order of their points.
            std::sort(names.begin(), names.end(), [](const Op& a, const Op& b) { return a.y1 < b.y1; });
            std::vector<std::string> order;
            for (const Op& name : names) {
                order.push_back(name.text);
            }
            EXPECT_EQ(order, orders[k]) << scale;
        }
    }
}

TEST_F(Charts, EveryBarStaysBetweenTheAxesOnThePreviewAndOnThePaperWhateverTheNumberOfStudents) {
    chooseFields({2});
    for (int m = 1; m <= 4; ++m) {
        std::vector<int> rows;
        for (int r = 1; r <= m; ++r) {
            rows.push_back(r);
        }
        chooseRows(rows);
        RecordingSurface preview;
        RecordingSurface printer;
        DrawBarChart(preview, 1, ChartOutput::Preview, data, value);
        DrawBarChart(printer, 1.74, ChartOutput::Printer, data, value);
        const auto bars = preview.ops(Op::FillBox);
        const auto printed = printer.ops(Op::FillBox);
        ASSERT_EQ(printed.size(), bars.size());
        for (size_t i = 0; i < bars.size(); ++i) {
            EXPECT_GE(bars[i].x1, 400) << m;
            EXPECT_LE(bars[i].x2, 6540) << m;
            EXPECT_LE(printed[i].x2, 11907) << m;
        }
    }
}

TEST_F(Charts, EmptyTitleIsOmittedButThePrintTimeIsNot) {
    chooseRows({1});
    chooseFields({2});
    data.title.clear();
    picture.setSize(kChartPreviewWidth, kChartPreviewHeight);
    DrawBarChart(picture, 1, ChartOutput::Preview, data, value);
    for (const std::string& text : picture.texts()) {
        EXPECT_NE(text, "    ");
    }
    EXPECT_EQ(picture.textOp("打印时间： 2024/5/3 9:05:00").x2, 7500 - 367);
    EXPECT_EQ(picture.count(Op::EndJob), 0);
}

TEST_F(Charts, NothingChosenIsRefusedAndZeroMaximumOrSegmentsBecomeOne) {
    ScriptedPrompter prompter;
    chooseFields({2});
    EXPECT_FALSE(PreviewChart(picture, ChartType::Bar, data, value, prompter));
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"请先选择要处理的数据（字段、处理对象）。"}));
    EXPECT_EQ(prompter.calls()[0].icon, Icon::Information);
    EXPECT_TRUE(picture.ops().empty());

    chooseRows({1});
    data.maximum = 0;
    data.segments = 0;
    EXPECT_TRUE(PreviewChart(picture, ChartType::LineUp, data, value, prompter));
    EXPECT_EQ(data.maximum, 1);
    EXPECT_EQ(data.segments, 1);
    EXPECT_EQ(picture.ops(Op::Circle)[0].y1, 3500 * (1 - 80.0));  // far above the top: 80 of 1
}

TEST_F(Charts, PrinterFailureIsReported) {
    chooseRows({1});
    chooseFields({2});
    RecordingSurface printer;
    printer.failAtPage(1);
    printer.newPage();  // the printer is gone before the chart is drawn
    ScriptedPrompter prompter;
    EXPECT_FALSE(PrintChart(printer, ChartType::LineDown, data, value, prompter));
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"打印错误，请检查 打印机连接！"}));
}

}  // namespace
}  // namespace scorvane
