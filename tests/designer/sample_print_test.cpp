// The sample page of the designer without a printer: what it draws, from which template, and the job's
// name.
#include "designer/sample_print.h"

#include <gtest/gtest.h>

#include "designer/label_editing.h"
#include "support/recording_surface.h"

namespace scorvane::designer {
namespace {

using testing::RecordingSurface;
using Op = RecordingSurface::Op;

// A landscape template: a ruling line, a record that is no line, a red 黑体 title at a position that
// is not whole, and a caption of two lines.
TemplateDocument SampleTemplate() {
    TemplateDocument doc;
    doc.landscape = true;
    doc.lines.append("1000,1500,9000,1500,2", "表格直线  0");
    doc.lines.append("1000,abc", "表格直线  1");
    doc.lines.select(0);
    AddLabel(doc, 0, 0);
    SetLabelText(doc, "学期报告");
    TemplateLabel& title = doc.labels.label(0);
    title.fontName = "黑体";
    title.fontSize = 18;
    title.foreColor = 255;
    title.left = 4500.4;
    title.top = 9000;
    AddLabel(doc, 0, 0);
    SetLabelText(doc, "教师评语：[/]备注");
    doc.labels.label(1).left = 1150;
    doc.labels.label(1).top = 4750;
    return doc;
}

TEST(SamplePrint, DrawsTheTemplateTurnedWithItsLinesInBlackAndEveryCaptionAtItsPlace) {
    const TemplateDocument doc = SampleTemplate();
    RecordingSurface printer;
    DrawSamplePage(doc, printer);

    EXPECT_EQ(printer.orientation(), PageOrientation::Landscape);
    EXPECT_EQ(printer.pages(), 1);
    // The line that parses, in black whatever the selection; the broken record is passed over.
    const std::vector<Op> lines = printer.ops(Op::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ((std::vector<double>{lines[0].x1, lines[0].y1, lines[0].x2, lines[0].y2}),
              (std::vector<double>{1000, 1500, 9000, 1500}));
    EXPECT_EQ(lines[0].color, kBlack);

    // Every label prints its own caption, placeholders included, at (Left, Top) as the file keeps them.
    EXPECT_EQ(printer.texts(), (std::vector<std::string>{"学期报告", "教师评语：", "备注"}));
    const Op& title = printer.textOp("学期报告");
    EXPECT_EQ(title.x1, 4500);
    EXPECT_EQ(title.y1, 9000);
    EXPECT_EQ(title.font.name, "黑体");
    EXPECT_EQ(title.font.size, 18);
    EXPECT_EQ(title.color, 255u);
    // The second line of a caption starts again at Left, one line of its font lower.
    const Op& first = printer.textOp("教师评语：");
    const Op& second = printer.textOp("备注");
    EXPECT_EQ(first.x1, 1150);
    EXPECT_EQ(first.y1, 4750);
    EXPECT_EQ(second.x1, 1150);
    EXPECT_EQ(second.y1, 4750 + RecordingSurface::LineHeight(12));
    EXPECT_EQ(printer.textColor(), kBlack);
}

TEST(SamplePrint, TheTemplateIsTheOneItsFileGivesBackAndTheJobIsNamedAfterTheFile) {
    TemplateDocument doc = SampleTemplate();
    const PrintableTemplate page = SamplePageTemplate(doc);
    EXPECT_TRUE(page.landscape);
    EXPECT_EQ(page.lines.size(), 1u);
    EXPECT_EQ(page.skippedRecords, 1);
    ASSERT_EQ(page.labels.size(), 2u);
    EXPECT_EQ(page.labels[0].left, 4500);
    EXPECT_EQ(page.labels[1].caption, "教师评语：\r\n备注");

    // An empty template prints an empty portrait sheet.
    TemplateDocument empty;
    RecordingSurface printer;
    printer.setOrientation(PageOrientation::Landscape);
    DrawSamplePage(empty, printer);
    EXPECT_EQ(printer.orientation(), PageOrientation::Portrait);
    EXPECT_TRUE(printer.texts().empty());

    EXPECT_EQ(SampleJobName(empty), "报表样张");
    doc.fileName = "/tmp/报表/成绩通知单.rvx";
    EXPECT_EQ(SampleJobName(doc), "成绩通知单.rvx");
}

}  // namespace
}  // namespace scorvane::designer
