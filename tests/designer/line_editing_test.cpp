// The line editor: coordinates, move bars, lengthening, copying, deleting and whole-table moves.
#include "designer/line_editing.h"

#include <gtest/gtest.h>

namespace scorvane::designer {
namespace {

using Strings = std::vector<std::string>;

// A document holding the records, the last one selected, and no changes.
TemplateDocument WithLines(const Strings& records) {
    TemplateDocument doc;
    for (size_t i = 0; i < records.size(); ++i) {
        doc.lines.append(records[i], LineStore::ReadName(i));
    }
    doc.lines.selectLast();
    return doc;
}

std::string Selected(const TemplateDocument& doc) {
    return doc.lines.record(static_cast<size_t>(doc.lines.selected()));
}

TEST(LineEditing, GetLineXYFillsAsFarAsTheRecordParses) {
    EXPECT_EQ(GetLineXY("1,-2,3,4,1"), (LineCoordinates{1, -2, 3, 4}));
    EXPECT_EQ(GetLineXY("1,2,x,4,1"), (LineCoordinates{1, 2, std::nullopt, std::nullopt}));
    EXPECT_EQ(GetLineXY("0"), (LineCoordinates{0, std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(GetLineXY(""), LineCoordinates{});
}

TEST(LineEditing, EnterCommitsTheBoxesWithKindTwoAndNothingHappensWithoutAValidLine) {
    TemplateDocument doc = WithLines({"1,2,3,4,1"});
    EXPECT_TRUE(CommitCoordinates(doc, {"10", "20", "30", "-40"}));
    EXPECT_EQ(Selected(doc), "10,20,30,-40,2");
    EXPECT_TRUE(doc.changed);

    // Empty or non-numeric boxes, numbers no record holds, and no selection leave everything alone.
    for (const std::array<std::string, 4>& boxes : {std::array<std::string, 4>{"", "1", "2", "3"},
                                                    {"1", "a", "2", "3"},
                                                    {"1", "2", "3", "99999999999"}}) {
        TemplateDocument d = WithLines({"1,2,3,4,1"});
        EXPECT_FALSE(CommitCoordinates(d, boxes));
        EXPECT_EQ(Selected(d), "1,2,3,4,1");
        EXPECT_FALSE(d.changed);
    }
    TemplateDocument none = WithLines({"1,2,3,4,1"});
    none.lines.select(-1);
    EXPECT_FALSE(CommitCoordinates(none, {"1", "2", "3", "4"}));
    EXPECT_FALSE(MoveSelectedLine(none, Axis::Horizontal, 5));
    EXPECT_FALSE(ChangeSelectedLineLength(none, kLengthStep));
    EXPECT_FALSE(DeleteSelectedLine(none));
    EXPECT_EQ(none.lines.records(), Strings{"1,2,3,4,1"});
    EXPECT_FALSE(none.changed);
}

TEST(LineEditing, TheMoveBarsShiftTheLineKeepingItsShape) {
    TemplateDocument doc = WithLines({"1000,1500,9000,2500,1"});
    EXPECT_TRUE(MoveSelectedLine(doc, Axis::Horizontal, 1200));
    EXPECT_EQ(Selected(doc), "1200,1500,9200,2500,2");
    EXPECT_TRUE(MoveSelectedLine(doc, Axis::Vertical, 500));
    EXPECT_EQ(Selected(doc), "1200,500,9200,1500,2");
    EXPECT_TRUE(doc.changed);

    TemplateDocument bad = WithLines({"1000,abc"});
    EXPECT_FALSE(MoveSelectedLine(bad, Axis::Horizontal, 5));
    EXPECT_EQ(Selected(bad), "1000,abc");
}

TEST(LineEditing, PlusAndMinusMoveTheEndsByFifteenTwipsAlongTheLine) {
    struct Case {
        std::string line;
        long long step;
        std::string result;
    };
    const Case cases[] = {
        // A horizontal line grows at its right end, leaving x1, y1 and y2.
        {"1000,1500,9000,1500,1", kLengthStep, "1000,1500,9015,1500,2"},
        {"9000,1500,1000,1500,1", kLengthStep, "9015,1500,1000,1500,2"},
        {"1000,1500,9000,1500,1", -kLengthStep, "1000,1500,8985,1500,2"},
        // A vertical line moves its lower end.
        {"500,4000,500,1000,1", kLengthStep, "500,4015,500,1000,2"},
        {"500,4000,500,1000,1", -kLengthStep, "500,3985,500,1000,2"},
        // A 3-4-5 line of length 5000: x by ⌊15·3000/5000⌋ = 9, then y measured on the new line
        // (3009, 4000 → length 5005) by ⌊15·4000/5005⌋ = 11.
        {"0,0,3000,4000,1", kLengthStep, "0,0,3009,4011,2"},
        // Shrinking: ⌊3000 − 9⌋ and then ⌊4000 − 15·4000/4994⌋ = ⌊3987.98…⌋.
        {"0,0,3000,4000,1", -kLengthStep, "0,0,2991,3987,2"},
        // Sloping up to the right: the x change goes to the second end, the y change to the first.
        {"0,4000,3000,0,1", kLengthStep, "0,4011,3009,0,2"},
    };
    for (const Case& c : cases) {
        TemplateDocument doc = WithLines({c.line});
        EXPECT_TRUE(ChangeSelectedLineLength(doc, c.step)) << c.line;
        EXPECT_EQ(Selected(doc), c.result) << c.line << " step " << c.step;
    }
    // A line of length 0 has no direction: nothing happens.
    TemplateDocument dot = WithLines({"700,700,700,700,1"});
    EXPECT_FALSE(ChangeSelectedLineLength(dot, kLengthStep));
    EXPECT_EQ(Selected(dot), "700,700,700,700,1");
    EXPECT_FALSE(dot.changed);
}

TEST(LineEditing, GetLineLenRoundsDown) {
    EXPECT_EQ(GetLineLen({0, 0, 3, 4, 1}), 5);
    EXPECT_EQ(GetLineLen({0, 0, 1, 1, 1}), 1);
    EXPECT_EQ(GetLineLen({10, 10, 10, 10, 1}), 0);
    EXPECT_EQ(GetLineLen({-2147483648LL, 0, 2147483647LL, 0, 1}), 4294967295LL);
}

TEST(LineEditing, CopiesRepeatTheLastLineFiftyTwipsFurtherOn) {
    TemplateDocument doc = WithLines({"1,1,2,2,1", "1000,1500,9000,1500,2"});
    doc.lines.select(0);  // the copy follows the last line, not the selected one
    EXPECT_TRUE(CopyLastLine(doc));
    EXPECT_TRUE(CopyLastLine(doc));
    EXPECT_EQ(doc.lines.records(), (Strings{"1,1,2,2,1", "1000,1500,9000,1500,2", "1050,1550,9050,1550,1",
                                            "1100,1600,9100,1600,1"}));
    EXPECT_EQ(doc.lines.names(), (Strings{"表格线段  0", "表格线段  1", "表格直线  2", "表格直线  3"}));
    EXPECT_EQ(doc.lines.selected(), 3);
    EXPECT_TRUE(doc.changed);

    TemplateDocument empty;
    EXPECT_FALSE(CopyLastLine(empty));
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_FALSE(empty.changed);
}

TEST(LineEditing, DeletingSelectsTheLastRemainingLine) {
    TemplateDocument doc = WithLines({"0,0,1,1,1", "0,0,2,2,1", "0,0,3,3,1"});
    doc.lines.select(0);
    EXPECT_TRUE(DeleteSelectedLine(doc));
    EXPECT_EQ(doc.lines.records(), (Strings{"0,0,2,2,1", "0,0,3,3,1"}));
    EXPECT_EQ(doc.lines.names(), (Strings{"表格线段  1", "表格线段  2"}));
    EXPECT_EQ(doc.lines.selected(), 1);
    doc.lines.select(1);
    DeleteSelectedLine(doc);
    DeleteSelectedLine(doc);
    EXPECT_TRUE(doc.lines.empty());
    EXPECT_EQ(doc.lines.selected(), -1);
}

TEST(LineEditing, WholeTableMovesShiftLinesAndLabelsKeepingKinds) {
    TemplateDocument doc = WithLines({"100,10,200,10,2", "not a line"});
    TemplateLabel label;
    label.top = 600;
    label.left = 3500;
    doc.labels.append(label, LabelStore::ListName(0));
    doc.lines.select(0);

    MoveWholeTable(doc, TableMove::Up);
    EXPECT_EQ(doc.lines.records(), (Strings{"100,-15,200,-15,2", "not a line"}));
    EXPECT_EQ(doc.labels.label(0).top, 575);
    EXPECT_TRUE(doc.changed);
    MoveWholeTable(doc, TableMove::Right);
    MoveWholeTable(doc, TableMove::Right);
    MoveWholeTable(doc, TableMove::Left);
    MoveWholeTable(doc, TableMove::Down);
    EXPECT_EQ(doc.lines.record(0), "125,10,225,10,2");
    EXPECT_EQ(doc.labels.label(0).left, 3525);
    EXPECT_EQ(doc.labels.label(0).top, 600);
    EXPECT_EQ(doc.labels.prototype().top, 0);  // the hidden prototype stays where it is
    EXPECT_EQ(doc.lines.selected(), 0);
}

TEST(LineEditing, ACoordinateBoxTakesDigitsAndItsEditingKeysAndEnterCommits) {
    struct Case {
        const char* what;
        BoxKey key;
        std::string_view typed;
        bool ctrl;
        BoxKeyEffect effect;
        bool marked;
    };
    const Case cases[] = {
        {"digits", BoxKey::Other, "09", false, BoxKeyEffect::Pass, true},
        {"the sign below 0", BoxKey::Other, "/", false, BoxKeyEffect::Drop, true},
        {"the sign above 9", BoxKey::Other, ":", false, BoxKeyEffect::Drop, true},
        {"a minus", BoxKey::Other, "-", false, BoxKeyEffect::Drop, true},
        {"a letter after a digit", BoxKey::Other, "4a", false, BoxKeyEffect::Drop, true},
        {"a full-width digit", BoxKey::Other, "１", false, BoxKeyEffect::Drop, true},
        {"Backspace", BoxKey::Erase, "", false, BoxKeyEffect::Pass, true},
        {"Ctrl+Delete", BoxKey::Erase, "", true, BoxKeyEffect::Pass, true},
        {"Enter", BoxKey::Enter, "", false, BoxKeyEffect::Commit, true},
        {"a cursor key", BoxKey::Other, "", false, BoxKeyEffect::Pass, false},
        {"Ctrl+V", BoxKey::Other, "v", true, BoxKeyEffect::Pass, false},
    };
    for (const Case& c : cases) {
        TemplateDocument doc = WithLines({"1,2,3,4,1"});
        EXPECT_EQ(TypeIntoCoordinateBox(doc, c.key, c.typed, c.ctrl), c.effect) << c.what;
        EXPECT_EQ(doc.changed, c.marked) << c.what;
        EXPECT_EQ(Selected(doc), "1,2,3,4,1") << c.what;
    }
}

}  // namespace
}  // namespace scorvane::designer
