// Drawing lines with the mouse: the modes, the first point, finishing, and the names of drawn lines.
#include "designer/line_drawing.h"

#include <gtest/gtest.h>

#include "designer/line_editing.h"

namespace scorvane::designer {
namespace {

using Release = LineDrawing::Release;
using Strings = std::vector<std::string>;

TEST(LineDrawing, ALeftReleaseAsksAndTheChosenModeFixesTheEnd) {
    struct Case {
        LineMode mode;
        PagePoint end;
        std::string record;
    };
    // Begun at (1000, 2000), finished with the mouse at (3000, 4000): the end point comes first.
    const Case cases[] = {{LineMode::Free, {3000, 4000}, "3000,4000,1000,2000,1"},
                          {LineMode::FixedX, {1000, 4000}, "1000,4000,1000,2000,1"},
                          {LineMode::FixedY, {3000, 2000}, "3000,2000,1000,2000,1"}};
    for (const Case& c : cases) {
        TemplateDocument doc;
        LineDrawing drawing;
        EXPECT_EQ(drawing.release(doc, true, 1000, 2000), Release::AskMode);
        EXPECT_EQ(drawing.mode(), LineMode::None);  // nothing is under way until a choice is made
        drawing.choose(c.mode);
        EXPECT_EQ(drawing.mode(), c.mode);
        EXPECT_EQ(drawing.endPoint(3000, 4000), c.end);
        EXPECT_FALSE(doc.changed);
        EXPECT_EQ(drawing.release(doc, true, 3000, 4000), Release::Finished);
        EXPECT_EQ(drawing.mode(), LineMode::None);
        EXPECT_EQ(doc.lines.records(), Strings{c.record});
        EXPECT_EQ(doc.lines.selected(), 0);
        EXPECT_TRUE(doc.changed);
    }
}

TEST(LineDrawing, TheRubberBandFollowsTheModeAndCancelChangesNothing) {
    TemplateDocument doc;
    LineDrawing drawing;
    drawing.release(doc, true, 500, 600);
    drawing.choose(LineMode::None);  // "取消(&C)"
    EXPECT_FALSE(drawing.underWay());
    drawing.choose(LineMode::FixedX);
    EXPECT_EQ(drawing.endPoint(900, 2500), (PagePoint{500, 2500}));
    drawing.choose(LineMode::FixedY);
    EXPECT_EQ(drawing.endPoint(900, 2500), (PagePoint{900, 600}));
    drawing.choose(LineMode::Free);
    EXPECT_EQ(drawing.endPoint(900, 2500), (PagePoint{900, 2500}));
    EXPECT_TRUE(doc.lines.empty());
    EXPECT_FALSE(doc.changed);
}

TEST(LineDrawing, ALineUnderWayIsGivenUpByEscapeOrCancel) {
    for (bool byMenu : {false, true}) {
        TemplateDocument doc;
        LineDrawing drawing;
        ASSERT_EQ(drawing.release(doc, false, 100, 200), Release::Started);
        if (byMenu) {
            drawing.choose(LineMode::None);  // "取消(&C)"
        } else {
            drawing.cancel();  // Escape, New, Open
        }
        EXPECT_FALSE(drawing.underWay());
        EXPECT_EQ(drawing.release(doc, true, 900, 900), Release::AskMode);  // a new first point
        EXPECT_TRUE(doc.lines.empty());
    }
}

TEST(LineDrawing, AnyOtherButtonStartsAFreeLineThatTheNextLeftReleaseFinishes) {
    TemplateDocument doc;
    LineDrawing drawing;
    EXPECT_EQ(drawing.release(doc, false, 100, 200), Release::Started);
    EXPECT_EQ(drawing.mode(), LineMode::Free);
    // Another right release begins again from its own point.
    EXPECT_EQ(drawing.release(doc, false, 150, 250), Release::Started);
    EXPECT_EQ(drawing.start(), (PagePoint{150, 250}));
    EXPECT_EQ(drawing.release(doc, true, 4000, 5000), Release::Finished);
    EXPECT_EQ(doc.lines.records(), Strings{"4000,5000,150,250,1"});
}

TEST(LineDrawing, MousePointsBecomeWholeTwipsWithHalvesToEven) {
    EXPECT_EQ(WholeTwips(10.5, 11.5), (PagePoint{10, 12}));
    EXPECT_EQ(WholeTwips(-2.5, 7.4999), (PagePoint{-2, 7}));
    TemplateDocument doc;
    LineDrawing drawing;
    drawing.release(doc, false, 0.5, 1.5);
    drawing.release(doc, true, 2.5, 3.6);
    EXPECT_EQ(doc.lines.records(), Strings{"2,4,0,2,1"});
}

TEST(LineDrawing, DrawnLinesAreNamedByTheCountBeforeThemAndNamesAreNotRenumbered) {
    TemplateDocument doc;
    LineDrawing drawing;
    auto draw = [&](double y) {
        drawing.release(doc, false, 0, y);
        drawing.release(doc, true, 1000, y);
    };
    draw(100);
    EXPECT_EQ(doc.lines.names(), Strings{"表格直线  0"});
    draw(200);
    doc.lines.select(0);
    ASSERT_TRUE(DeleteSelectedLine(doc));
    draw(300);
    EXPECT_EQ(doc.lines.names(), (Strings{"表格直线  1", "表格直线  1"}));
    EXPECT_EQ(doc.lines.records(), (Strings{"1000,200,0,200,1", "1000,300,0,300,1"}));
    EXPECT_EQ(doc.lines.selected(), 1);
}

}  // namespace
}  // namespace scorvane::designer
