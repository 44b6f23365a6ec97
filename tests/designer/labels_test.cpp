// The labels of the designer without a window: adding, numbering, captions with line breaks, data
// placeholders, positions, deleting, and the font and colour commands on one label, the prototype and
// all labels.
#include <gtest/gtest.h>

#include <functional>

#include "common/text_codec.h"
#include "designer/label_appearance.h"
#include "designer/label_editing.h"
#include "designer/template_file_commands.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane::designer {
namespace {

using Strings = std::vector<std::string>;

Strings captions(const TemplateDocument& doc) {
    Strings out;
    for (const TemplateLabel& label : doc.labels.labels()) {
        out.push_back(label.caption);
    }
    return out;
}

TEST(Labels, AddedLabelsAreNumberedAfterEveryElementAndCopyThePrototype) {
    TemplateDocument doc;
    // The prototype of a new designer: 宋体 12, regular, black.
    EXPECT_EQ(doc.labels.prototype().fontName, "宋体");
    EXPECT_EQ(doc.labels.prototype().fontSize, 12);
    EXPECT_EQ(doc.labels.prototype().foreColor, 0u);
    EXPECT_FALSE(doc.labels.prototype().fontBold);

    doc.labels.prototype().fontName = "黑体";
    doc.labels.prototype().foreColor = 255;
    EXPECT_EQ(AddLabel(doc, 1200, 2400), 0u);
    EXPECT_TRUE(doc.changed);
    EXPECT_EQ(doc.labels.names(), Strings{"文字标签  1"});
    const TemplateLabel& first = doc.labels.label(0);
    EXPECT_EQ(first.caption, "文字标签 1");
    EXPECT_EQ(first.left, 1200);
    EXPECT_EQ(first.top, 2400);
    EXPECT_EQ(first.fontName, "黑体");
    EXPECT_EQ(first.foreColor, 255u);
    EXPECT_EQ(doc.labels.selected(), 0);
    AddLabel(doc, 0, 0);
    EXPECT_EQ(doc.labels.names(), (Strings{"文字标签  1", "文字标签  2"}));
    EXPECT_EQ(doc.labels.selected(), 1);
}

TEST(Labels, AfterOpeningTwoLabelsTheNextAddedIsNumberThreeAndTheNumbersSurviveASave) {
    testing::TempDir dir;
    testing::ScriptedPrompter prompter;
    TemplateDocument doc;
    AddLabel(doc, 0, 0);
    AddLabel(doc, 500, 500);
    const std::string path = dir.file("two.rvx");
    prompter.chooseSave(path);
    ASSERT_TRUE(SaveTemplateAs(doc, prompter));

    TemplateDocument opened;
    testing::RecordingStatus status;
    ASSERT_TRUE(OpenTemplateFile(opened, path, prompter, status));
    EXPECT_EQ(opened.labels.names(), (Strings{"文字标签  0", "文字标签  1"}));
    // A caption with a space ("文字标签 1") comes back whole.
    EXPECT_EQ(captions(opened), (Strings{"文字标签 1", "文字标签 2"}));
    AddLabel(opened, 0, 0);
    EXPECT_EQ(opened.labels.name(2), "文字标签  3");
    EXPECT_EQ(opened.labels.label(2).caption, "文字标签 3");
}

TEST(Labels, TheEditorTextCarriesLineBreaksAsMarksAndEnterGoesToTheSelectedLabelOrThePrototype) {
    TemplateDocument doc;
    AddLabel(doc, 0, 0);
    doc.changed = false;
    SetLabelText(doc, "第一行[/]第二行");
    EXPECT_TRUE(doc.changed);
    EXPECT_EQ(doc.labels.label(0).caption, "第一行\r\n第二行");
    EXPECT_EQ(LabelEditorText(doc.labels.label(0)), "第一行[/]第二行");
    EXPECT_FALSE(IsDataLabel(doc.labels.label(0)));

    MakeDataLabel(doc);
    EXPECT_EQ(doc.labels.label(0).caption, "！引用数据");
    EXPECT_TRUE(IsDataLabel(doc.labels.label(0)));

    // With nothing selected, Enter changes the hidden prototype and no label.
    doc.labels.select(-1);
    SetLabelText(doc, "样板");
    EXPECT_EQ(doc.labels.prototype().caption, "样板");
    EXPECT_EQ(captions(doc), Strings{"！引用数据"});
}

TEST(Labels, PositionsComeFromTheDropOrFromWholeNumbersInTheBoxes) {
    TemplateDocument doc;
    AddLabel(doc, 0, 0);
    doc.changed = false;
    EXPECT_TRUE(MoveLabel(doc, 0, 5955, 8415));
    EXPECT_TRUE(doc.changed);
    EXPECT_EQ(doc.labels.label(0).left, 5955);
    EXPECT_EQ(doc.labels.label(0).top, 8415);
    EXPECT_FALSE(MoveLabel(doc, 1, 0, 0));

    EXPECT_TRUE(CommitLabelPosition(doc, " 1000", "20"));
    EXPECT_EQ(doc.labels.label(0).left, 1000);
    EXPECT_EQ(doc.labels.label(0).top, 20);
    for (auto [left, top] : {std::pair{"", "10"}, {"12a", "10"}, {"10", "99999999999"}, {"1.5", "2"}}) {
        EXPECT_FALSE(CommitLabelPosition(doc, left, top)) << left << " " << top;
    }
    EXPECT_EQ(doc.labels.label(0).left, 1000);
    doc.labels.select(-1);
    EXPECT_FALSE(CommitLabelPosition(doc, "1", "1"));
}

// The boxes, the drop, the whole-table moves, the arrow keys, the orientation and opening a file alike.
TEST(Labels, EveryWayOfPlacingALabelKeepsItOnThePage) {
    testing::TempDir dir;
    const std::string off = dir.file("off.rvx");
    testing::WriteBytes(
        off, testing::GbkLines({"[Information]", "LabelsNum=1", "[Labels]",
                                "0=远 2147483647 -3000 宋体 0 0 9 0 0 0", "1=近 5 6 宋体 0 0 9 0 0 0"}));
    struct Case {
        const char* what;
        double left, top;  // where the label stands first, portrait
        std::function<void(TemplateDocument&)> action;
        double wantLeft, wantTop;
    };
    const Case cases[] = {
        {"boxes below 0", 100, 100, [](auto& d) { CommitLabelPosition(d, "-3000", "-1"); }, 0, 0},
        {"boxes at the limit", 100, 100, [](auto& d) { CommitLabelPosition(d, "2147483647", "2147483647"); },
         11907, 16840},
        {"drop", 100, 100, [](auto& d) { MoveLabel(d, 0, 20000, 5); }, 11907, 5},
        {"whole table down", 100, 16830, [](auto& d) { MoveWholeTable(d, TableMove::Down); }, 100, 16840},
        {"whole table left", 10, 100, [](auto& d) { MoveWholeTable(d, TableMove::Left); }, 0, 100},
        {"arrow key up", 100, 0, [](auto& d) { NudgeLabel(d, TableMove::Up, std::nullopt); }, 100, 0},
        {"landscape", 11000, 16000, [](auto& d) { EXPECT_EQ(SetOrientation(d, true), 1); }, 11000, 11907},
    };
    for (const Case& c : cases) {
        TemplateDocument doc;
        AddLabel(doc, c.left, c.top);
        c.action(doc);
        EXPECT_EQ(doc.labels.label(0).left, c.wantLeft) << c.what;
        EXPECT_EQ(doc.labels.label(0).top, c.wantTop) << c.what;
    }
    TemplateDocument opened;
    testing::ScriptedPrompter prompter;
    testing::RecordingStatus status;
    ASSERT_TRUE(OpenTemplateFile(opened, off, prompter, status));
    EXPECT_EQ(opened.labels.label(0).left, 0);
    EXPECT_EQ(opened.labels.label(0).top, 16840);
    EXPECT_EQ(status.texts, Strings{MovedLabelsMessage(1)});
    // Once the window knows its size, a label moved onto the page shows whole.
    EXPECT_EQ(opened.labelsMovedOntoPage, std::vector<size_t>{0});
    ShowLabelWhole(opened, 0, 600, 240);
    EXPECT_EQ(opened.labels.label(0).top, 16600);
}

TEST(Labels, ANewLabelGoesBelowTheOneAddedLastAndBackToTheTopOfTheViewAtTheFoot) {
    TemplateDocument doc;
    using Place = std::pair<double, double>;
    EXPECT_EQ(NewLabelPlace(doc, 240, 600, 1200), (Place{600, 1200}));  // none added yet: the view's corner
    AddLabel(doc, 600, 1200);
    EXPECT_EQ(NewLabelPlace(doc, 240, 0, 0), (Place{600, 1440}));
    MoveLabel(doc, 0, 900, 16500);
    EXPECT_EQ(NewLabelPlace(doc, 240, 0, 480), (Place{900, 480}));  // below would leave the page
    DeleteSelectedLabel(doc);
    EXPECT_EQ(NewLabelPlace(doc, 240, 30, 60), (Place{30, 60}));
}

TEST(Labels, ArrowKeysMoveTheSelectedLabelToTheNextGridLineOrFifteenTwips) {
    // A grid of 0.5 cm on portrait A4: 42 columns of 283.5 twips, 58 rows of about 290.3 twips.
    const std::optional<GridDivisions> grid = GridDivisionsFor(11907, 16840, "0.5");
    struct Case {
        double left, top;
        TableMove key;
        bool withGrid;
        double wantLeft, wantTop;
    };
    const Case cases[] = {
        {100, 100, TableMove::Right, false, 115, 100}, {100, 100, TableMove::Up, false, 100, 85},
        {0, 0, TableMove::Right, true, 284, 0},        {284, 0, TableMove::Right, true, 567, 0},
        {300, 300, TableMove::Left, true, 284, 300},   {300, 300, TableMove::Down, true, 300, 581},
    };
    for (const Case& c : cases) {
        TemplateDocument doc;
        AddLabel(doc, c.left, c.top);
        doc.changed = false;
        EXPECT_TRUE(NudgeLabel(doc, c.key, c.withGrid ? grid : std::nullopt));
        EXPECT_EQ(doc.labels.label(0).left, c.wantLeft) << c.left << "," << c.top;
        EXPECT_EQ(doc.labels.label(0).top, c.wantTop) << c.left << "," << c.top;
        EXPECT_TRUE(doc.changed);
    }
    TemplateDocument none;
    EXPECT_FALSE(NudgeLabel(none, TableMove::Right, std::nullopt));
}

TEST(Labels, DeletingShiftsTheLaterLabelsDownAndKeepsTheNamesOfThoseThatStay) {
    TemplateDocument doc;
    for (double left : {100.0, 200.0, 300.0}) {
        AddLabel(doc, left, left);
    }
    SetLabelText(doc, "第三");
    doc.labels.label(1).fontBold = true;
    doc.labels.select(0);
    doc.changed = false;
    ASSERT_TRUE(DeleteSelectedLabel(doc));
    EXPECT_TRUE(doc.changed);
    EXPECT_EQ(captions(doc), (Strings{"文字标签 2", "第三"}));
    EXPECT_EQ(doc.labels.names(), (Strings{"文字标签  1", "文字标签  2"}));
    EXPECT_TRUE(doc.labels.label(0).fontBold);
    EXPECT_EQ(doc.labels.label(0).left, 200);
    EXPECT_EQ(doc.labels.label(1).left, 300);
    EXPECT_EQ(doc.labels.selected(), 1);
    // Numbering goes on from the number of elements, so a name may come twice.
    AddLabel(doc, 0, 0);
    EXPECT_EQ(doc.labels.names(), (Strings{"文字标签  1", "文字标签  2", "文字标签  3"}));

    // With nothing selected only the mark is set.
    doc.labels.select(-1);
    doc.changed = false;
    EXPECT_FALSE(DeleteSelectedLabel(doc));
    EXPECT_TRUE(doc.changed);
    EXPECT_EQ(doc.labels.size(), 3u);
    // The last one deleted leaves none selected.
    TemplateDocument single;
    AddLabel(single, 0, 0);
    EXPECT_TRUE(DeleteSelectedLabel(single));
    EXPECT_TRUE(single.labels.empty());
    EXPECT_FALSE(single.labels.hasSelection());
}

class LabelAppearance : public ::testing::Test {
  protected:
    LabelAppearance() {
        AddLabel(doc, 0, 0);
        AddLabel(doc, 0, 0);
        doc.labels.select(0);
        doc.changed = false;
    }
    // A dialog that records where it started and answers `answer`.
    LabelFontChooser fontDialog(std::optional<LabelFontChoice> answer) {
        return [this, answer](const LabelFontChoice& start) {
            fontStart = start;
            return answer;
        };
    }
    LabelColorChooser colorDialog(std::optional<SurfaceColor> answer) {
        return [this, answer](SurfaceColor start) {
            colorStart = start;
            return answer;
        };
    }

    TemplateDocument doc;
    LabelFontChoice heiti{"黑体", 18, true, false, true, true};
    std::optional<LabelFontChoice> fontStart;
    std::optional<SurfaceColor> colorStart;
};

TEST_F(LabelAppearance, OneLabelsFontAndColourChangeThatLabelOnly) {
    doc.labels.label(0).foreColor = 0x8000u;
    ASSERT_TRUE(ChangeLabelFont(doc, LabelScope::Selected, fontDialog(heiti)));
    EXPECT_EQ(fontStart, LabelFontOf(doc.labels.prototype()));  // label 1 was a copy of it
    EXPECT_TRUE(doc.changed);
    EXPECT_EQ(LabelFontOf(doc.labels.label(0)), heiti);
    EXPECT_EQ(doc.labels.label(1).fontName, "宋体");
    EXPECT_EQ(doc.labels.prototype().fontName, "宋体");

    ASSERT_TRUE(ChangeLabelColor(doc, LabelScope::Selected, colorDialog(Rgb(255, 0, 0))));
    EXPECT_EQ(colorStart, 0x8000u);
    EXPECT_EQ(doc.labels.label(0).foreColor, 255u);
    EXPECT_EQ(doc.labels.label(1).foreColor, 0u);
}

TEST_F(LabelAppearance, CancelledDialogsChangeNothingButKeepTheMark) {
    const TemplateLabel before = doc.labels.label(0);
    EXPECT_FALSE(ChangeLabelFont(doc, LabelScope::All, fontDialog(std::nullopt)));
    EXPECT_FALSE(ChangeLabelColor(doc, LabelScope::Selected, colorDialog(std::nullopt)));
    EXPECT_TRUE(doc.changed);
    EXPECT_EQ(doc.labels.label(0), before);
}

TEST_F(LabelAppearance, WithNoLabelSelectedTheCommandsStartFromAndChangeThePrototype) {
    doc.labels.select(-1);
    doc.labels.prototype().fontSize = 9;
    ASSERT_TRUE(ChangeLabelFont(doc, LabelScope::Selected, fontDialog(heiti)));
    EXPECT_EQ(fontStart->size, 9);
    ASSERT_TRUE(ChangeLabelColor(doc, LabelScope::Selected, colorDialog(Rgb(0, 0, 255))));
    EXPECT_EQ(LabelFontOf(doc.labels.prototype()), heiti);
    EXPECT_EQ(doc.labels.prototype().foreColor, Rgb(0, 0, 255));
    for (const TemplateLabel& label : doc.labels.labels()) {
        EXPECT_EQ(label.fontName, "宋体");
        EXPECT_EQ(label.foreColor, 0u);
    }
    // A label added afterwards copies the prototype.
    AddLabel(doc, 0, 0);
    EXPECT_EQ(LabelFontOf(doc.labels.label(2)), heiti);
    EXPECT_EQ(doc.labels.label(2).foreColor, Rgb(0, 0, 255));
}

TEST_F(LabelAppearance, AllLabelsCommandsStartFromTheSelectedLabelAndReachLabelsAddedLater) {
    doc.labels.label(0).fontSize = 16;
    ASSERT_TRUE(ChangeLabelFont(doc, LabelScope::All, fontDialog(heiti)));
    EXPECT_EQ(fontStart->size, 16);
    ASSERT_TRUE(ChangeLabelColor(doc, LabelScope::All, colorDialog(Rgb(255, 0, 0))));
    AddLabel(doc, 0, 0);
    ASSERT_EQ(doc.labels.size(), 3u);
    for (const TemplateLabel& label : doc.labels.labels()) {
        EXPECT_EQ(LabelFontOf(label), heiti);
        EXPECT_EQ(label.foreColor, 255u);
    }
    // Sizes outside what a label can have are brought within, and a colour keeps its three bytes.
    ASSERT_TRUE(ChangeLabelFont(doc, LabelScope::All, fontDialog(LabelFontChoice{"", 5000})));
    ASSERT_TRUE(ChangeLabelColor(doc, LabelScope::All, colorDialog(0xFF00FF00u)));
    EXPECT_EQ(doc.labels.label(0).fontName, "黑体");
    EXPECT_EQ(doc.labels.label(0).fontSize, kMaxLabelFontSize);
    EXPECT_EQ(doc.labels.prototype().foreColor, 0x00FF00u);
}

TEST(Labels, LabelsMovedOntoThePageComeInWholeOnceTheirSizesAreKnown) {
    TemplateDocument doc;
    AddLabel(doc, 11907, 0);
    AddLabel(doc, 5, 5);
    AddLabel(doc, 100, 16840);
    doc.labelsMovedOntoPage = {0, 2};
    std::vector<size_t> asked;
    auto size = [&asked](size_t i) {
        asked.push_back(i);
        return std::pair{1000.0 + static_cast<double>(i), 300.0};
    };
    EXPECT_TRUE(ShowMovedLabelsWhole(doc, size));
    EXPECT_EQ(asked, (std::vector<size_t>{0, 2}));
    EXPECT_EQ(doc.labels.label(0).left, 10907);
    EXPECT_EQ(doc.labels.label(0).top, 0);
    EXPECT_EQ(doc.labels.label(1).left, 5);  // not waiting: left where it stands
    EXPECT_EQ(doc.labels.label(2).left, 100);
    EXPECT_EQ(doc.labels.label(2).top, 16540);
    EXPECT_TRUE(doc.labelsMovedOntoPage.empty());
    // Nothing waits any more.
    EXPECT_FALSE(ShowMovedLabelsWhole(doc, size));
    EXPECT_EQ(asked.size(), 2u);
}

}  // namespace
}  // namespace scorvane::designer
