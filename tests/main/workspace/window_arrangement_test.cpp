#include "main/workspace/window_arrangement.h"

#include <gtest/gtest.h>

#include "common/numbered_repeats.h"

namespace scorvane {
namespace {

TEST(WindowArrangementTest, TilesShareTheAreaWithoutGapsOrOverlap) {
    auto above = TileAboveEachOther(3, 600, 301);
    ASSERT_EQ(above.size(), 3u);
    EXPECT_EQ(above[0], (WindowRect{0, 0, 600, 101}));
    EXPECT_EQ(above[1], (WindowRect{0, 101, 600, 100}));
    EXPECT_EQ(above[2], (WindowRect{0, 201, 600, 100}));

    auto side = TileSideBySide(2, 601, 400);
    ASSERT_EQ(side.size(), 2u);
    EXPECT_EQ(side[0], (WindowRect{0, 0, 301, 400}));
    EXPECT_EQ(side[1], (WindowRect{301, 0, 300, 400}));

    EXPECT_TRUE(TileAboveEachOther(0, 600, 400).empty());
    EXPECT_EQ(TileSideBySide(1, 600, 400)[0], (WindowRect{0, 0, 600, 400}));
}

TEST(WindowArrangementTest, IconsLineUpFromTheBottomLeft) {
    auto icons = ArrangeIcons(5, 160, 30, 500, 400);
    ASSERT_EQ(icons.size(), 5u);
    EXPECT_EQ(icons[0], (WindowRect{0, 370, 160, 30}));
    EXPECT_EQ(icons[2], (WindowRect{320, 370, 160, 30}));
    // Three fit in a row of 500 pixels; the fourth starts the row above.
    EXPECT_EQ(icons[3], (WindowRect{0, 340, 160, 30}));
    // An area narrower than one icon still takes one per row.
    auto narrow = ArrangeIcons(2, 160, 30, 100, 400);
    EXPECT_EQ(narrow[1], (WindowRect{0, 340, 160, 30}));
}

TEST(WindowArrangementTest, TheWindowMenuNumbersItsEntriesAndShowsTitlesAsTheyAre) {
    const std::tuple<int, std::string_view, std::string_view> cases[] = {
        {1, "期中考试", "&1 期中考试"},
        {12, "语&数", "&12 语&&数"},
        {3, "", "&3 "},
    };
    for (auto [number, title, entry] : cases) {
        EXPECT_EQ(WindowListEntry(number, title), entry) << number;
    }
}

TEST(WindowArrangementTest, NewWindowsCascadeAndRepeatedTitlesAreNumberedInTheList) {
    struct Case {
        std::vector<WindowRect> open;
        int width, height;
        WindowRect place;
    };
    const std::vector<Case> cases = {
        {{}, 300, 200, {0, 0, 300, 200}},
        {{{0, 0, 300, 200}}, 300, 200, {30, 30, 300, 200}},
        {{{0, 0, 300, 200}, {30, 30, 300, 200}}, 300, 200, {60, 60, 300, 200}},
        {{{30, 30, 300, 200}}, 300, 200, {0, 0, 300, 200}},                    // a gap is filled
        {{{0, 0, 300, 200}, {30, 30, 300, 200}}, 300, 350, {0, 0, 300, 350}},  // 60 + 350 > 400: again at 0
        {{{0, 0, 300, 200}, {5, 5, 300, 200}},
         300,
         200,
         {30, 30, 300, 200}},                              // moved windows count where they are
        {{{0, 0, 700, 500}}, 700, 500, {0, 0, 700, 500}},  // larger than the area
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CascadedPlace(c.open, c.width, c.height, 600, 400, 30), c.place);
    }
    // The window list numbers a title that an earlier window bears; the titles themselves stay.
    EXPECT_EQ(NumberRepeats({"期中 成绩统计", "期中", "期中 成绩统计", "期中 成绩统计", "期中 成绩统计 (2)"}),
              (std::vector<std::string>{"期中 成绩统计", "期中", "期中 成绩统计 (3)", "期中 成绩统计 (4)",
                                        "期中 成绩统计 (2)"}));
    EXPECT_EQ(NumberRepeats({"甲", "乙"}), (std::vector<std::string>{"甲", "乙"}));
}

TEST(WindowArrangementTest, AResultWindowTakesTwoThirdsOfTheAreaOrWhatItsTableNeeds) {
    struct Case {
        const char* what;
        WindowSize wholeTable, area;
        WindowSize size;
    };
    // An ordinary new window is 500 x 300, the smallest 120 x 80, a scroll bar 15 pixels across.
    const Case cases[] = {
        {"a large table in a large frame", {3000, 2000}, {1200, 900}, {800, 600}},
        {"a table smaller than two thirds", {650, 400}, {1200, 900}, {650, 400}},
        {"smaller than the ordinary window", {300, 200}, {1200, 900}, {300, 200}},
        {"long: a vertical scroll bar", {650, 2000}, {1200, 900}, {665, 600}},
        {"wide: a horizontal scroll bar", {3000, 450}, {1200, 900}, {800, 465}},
        {"a small frame: the ordinary size is more than two thirds", {3000, 2000}, {600, 420}, {500, 300}},
        {"never larger than the area", {3000, 2000}, {450, 280}, {450, 280}},
        {"never below the window's minimum", {40, 30}, {1200, 900}, {120, 80}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResultWindowSize({500, 300}, c.wholeTable, c.area, {120, 80}, 15), c.size) << c.what;
    }
}

}  // namespace
}  // namespace scorvane
