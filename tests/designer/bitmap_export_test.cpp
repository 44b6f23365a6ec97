// What the bitmap export draws and how the command ends; the about box's version line.
#include "designer/bitmap_export.h"

#include <gtest/gtest.h>

#include "designer/help_about.h"
#include "designer/label_editing.h"
#include "designer/template_file_commands.h"
#include "support/recording_surface.h"
#include "support/scripted_prompter.h"

namespace scorvane::designer {
namespace {

using testing::RecordingSurface;
using Op = RecordingSurface::Op;

TemplateDocument sample() {
    TemplateDocument doc;
    doc.lines.append("1000,1500,9000,1500,1", LineStore::DrawnName(0));
    doc.lines.append("not a line", LineStore::DrawnName(1));
    doc.lines.append("1000,1500,1000,4500,2", LineStore::DrawnName(2));
    doc.lines.select(0);
    AddLabel(doc, 3500, 600);
    SetLabelText(doc, "成绩[/]通知单");
    doc.labels.label(0).fontName = "黑体";
    doc.labels.label(0).foreColor = 255;
    AddLabel(doc, 1200, 1700);
    doc.labels.select(0);
    return doc;
}

TEST(BitmapExport, ThePictureHoldsTheBackgroundTheLinesInBlackAndTheCaptionsOnly) {
    const TemplateDocument doc = sample();
    RecordingSurface picture(RecordingSurface::Kind::Picture);
    DrawPagePicture(doc, Rgb(255, 255, 255), picture);
    const auto& ops = picture.ops();
    ASSERT_GE(ops.size(), 4u);
    EXPECT_EQ(ops[0].type, Op::FillBox);
    EXPECT_EQ(ops[0].x2, 11907);
    EXPECT_EQ(ops[0].y2, 16840);
    EXPECT_EQ(ops[0].color, 16777215u);
    // The selected line is black too, and the record that does not parse is passed over.
    const auto lines = picture.ops(Op::Line);
    ASSERT_EQ(lines.size(), 2u);
    for (const Op& line : lines) {
        EXPECT_EQ(line.color, 0u);
    }
    EXPECT_EQ(lines[1].y2, 4500);
    // Each line of a caption starts at the label's Left; no label background is painted.
    EXPECT_EQ(picture.count(Op::FillBox), 1);
    const Op& first = picture.textOp("成绩");
    const Op& second = picture.textOp("通知单");
    EXPECT_EQ(first.x1, 3500);
    EXPECT_EQ(first.y1, 600);
    EXPECT_EQ(first.color, 255u);
    EXPECT_EQ(first.font.name, "黑体");
    EXPECT_EQ(second.x1, 3500);
    EXPECT_EQ(second.y1, 600 + RecordingSurface::LineHeight(12));
    EXPECT_EQ(picture.textOp("文字标签 2").x1, 1200);
}

// A picture that leaves the texts drawn on it behind when the command has done with it.
class KeptPicture : public RecordingSurface {
  public:
    explicit KeptPicture(std::vector<std::string>& kept) : RecordingSurface(Kind::Picture), kept_(kept) {}
    ~KeptPicture() override { kept_ = texts(); }

  private:
    std::vector<std::string>& kept_;
};

TEST(BitmapExport, TheCommandAsksForANameMakesAPictureOfThePageAndReportsAFailedSave) {
    TemplateDocument doc = sample();
    doc.landscape = true;
    testing::ScriptedPrompter prompter;
    std::vector<std::pair<double, double>> made;
    std::vector<std::string> drawn;
    const PictureMaker maker = [&](double w, double h) {
        made.emplace_back(w, h);
        return std::make_unique<KeptPicture>(drawn);
    };
    prompter.chooseSave("");
    EXPECT_FALSE(ExportBitmap(doc, kBlack, maker, prompter));
    EXPECT_TRUE(made.empty());
    EXPECT_EQ(prompter.last().filter, "Windows 位图 (*.bmp)");
    EXPECT_TRUE(prompter.last().confirmOverwrite);

    // The recording surface cannot save: the failure is said, never taken for success.
    prompter.chooseSave("/tmp/page");
    EXPECT_FALSE(ExportBitmap(doc, kBlack, maker, prompter));
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0], std::make_pair(16840.0, 11907.0));
    EXPECT_EQ(drawn, (std::vector<std::string>{"成绩", "通知单", "文字标签 2"}));
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{std::string(kSaveFailedMessage)});
    EXPECT_EQ(prompter.last().title, "错误");
    EXPECT_FALSE(ExportBitmap(
        doc, kBlack, [](double, double) { return nullptr; }, prompter.chooseSave("/tmp/page")));
    EXPECT_EQ(prompter.messages().size(), 2u);
}

TEST(AboutText, ShowsTheCaptionTheVersionAsThreeNumbersAndTheMaker) {
    EXPECT_EQ(VersionLine("1.1.0"), "1.1.0");
    EXPECT_EQ(VersionLine("2.3"), "2.3.0");
    EXPECT_EQ(VersionLine("1.2.3.4"), "1.2.3");
    EXPECT_EQ(VersionLine(""), "0.0.0");
    EXPECT_EQ(AboutText("1.1.0"), "ScorvaneVelmora\nV 1.1.0\n\n" + std::string(kMakerLine));
}

}  // namespace
}  // namespace scorvane::designer
