// The page: the grid's divisions, the scroll ranges, and what the redraw draws.
#include <gtest/gtest.h>

#include "designer/page_drawing.h"
#include "designer/page_geometry.h"
#include "support/recording_surface.h"

namespace scorvane::designer {
namespace {

using testing::RecordingSurface;

TEST(PageGrid, DividesThePageIntoPartsOfAboutTheSpacing) {
    auto one = GridDivisionsFor(11907, 16840, "1");
    ASSERT_TRUE(one);
    EXPECT_EQ(one->columns, 21);
    EXPECT_EQ(one->rows, 29);
    auto half = GridDivisionsFor(11907, 16840, "0.5");
    ASSERT_TRUE(half);
    EXPECT_EQ(half->columns, 42);
    EXPECT_EQ(half->rows, 58);
    // The division is exact on the decimal: 29 cm in steps of 0.1 cm are 290 parts, not 289.
    auto tenth = GridDivisionsFor(16840, 16840, ".1");
    ASSERT_TRUE(tenth);
    EXPECT_EQ(tenth->rows, 290);
    auto landscape = GridDivisionsFor(16840, 11907, "2.");
    ASSERT_TRUE(landscape);
    EXPECT_EQ(landscape->columns, 14);
    EXPECT_EQ(landscape->rows, 10);
}

TEST(PageGrid, NothingItsBoxCanHoldBreaksIt) {
    for (const char* spacing : {"", ".", "0", "0.0", "1.2.3", "abc", "-1", "25", "0.001",
                                "99999999999999999999999999999999999", "0.000000000000000000000000000001"}) {
        EXPECT_FALSE(GridDivisionsFor(11907, 16840, spacing)) << spacing;
    }
    EXPECT_FALSE(GridDivisionsFor(0, 16840, "1"));
}

TEST(PageScroll, RangesFollowTheViewportAndNeverGoBelowZero) {
    // (11907 − 9000 + 255) / 120 + 1 = 27.35
    EXPECT_EQ(ScrollMax(11907, 9000, 255), 27);
    // Halves go to the even neighbour: (1020 + 0) / 120 + 1 = 9.5 → 10 and (900) / 120 + 1 = 8.5 → 8.
    EXPECT_EQ(ScrollMax(2020, 1000, 0), 10);
    EXPECT_EQ(ScrollMax(1900, 1000, 0), 8);
    EXPECT_EQ(ScrollMax(11907, 30000, 255), 0);
}

TEST(PageRedraw, DrawsTheGridThenTheLinesWithTheSelectedOneRed) {
    TemplateDocument doc;
    doc.lines.append("9000,1500,1000,1500,1", LineStore::ReadName(0));
    doc.lines.append("broken", LineStore::ReadName(1));
    doc.lines.append("1000,1500,1000,4500,2", LineStore::ReadName(2));
    doc.lines.select(2);
    RecordingSurface page(RecordingSurface::Kind::Picture);
    DrawPageContents(doc, true, "1", page);
    const auto lines = page.ops(RecordingSurface::Op::Line);
    // 22 vertical and 30 horizontal grid lines, the outer ones on the page's edges, then two lines.
    ASSERT_EQ(lines.size(), 22u + 30u + 2u);
    EXPECT_EQ(lines[0].x1, 0);
    EXPECT_EQ(lines[21].x1, 11907);
    EXPECT_EQ(lines[21].y2, 16840);
    EXPECT_EQ(lines[22].y1, 0);
    EXPECT_EQ(lines[51].y1, 16840);
    EXPECT_EQ(lines[51].x2, 11907);
    EXPECT_EQ(lines[1].x1, 11907.0 / 21);
    for (size_t i = 0; i < 52; ++i) {
        EXPECT_EQ(lines[i].color, Rgb(192, 192, 192));
    }
    EXPECT_EQ(lines[52].x1, 9000);
    EXPECT_EQ(lines[52].color, kBlack);
    EXPECT_EQ(lines[53].y2, 4500);
    EXPECT_EQ(lines[53].color, Rgb(255, 0, 0));

    // Without the grid (or with a spacing that makes none) only the lines are drawn; landscape turns
    // the grid.
    RecordingSurface plain(RecordingSurface::Kind::Picture);
    DrawPageContents(doc, false, "1", plain);
    EXPECT_EQ(plain.count(RecordingSurface::Op::Line), 2);
    RecordingSurface turned(RecordingSurface::Kind::Picture);
    doc.landscape = true;
    DrawPageContents(doc, true, "1", turned);
    EXPECT_EQ(turned.count(RecordingSurface::Op::Line), 30 + 22 + 2);
    EXPECT_EQ(turned.ops(RecordingSurface::Op::Line)[0].y2, 11907);
}

TEST(PageBackground, APictureThatGivesItsResolutionShowsAtItsSizeOnPaper) {
    struct Case {
        const char* what;
        int width, height;
        double dpi;
        std::optional<PixelSize> shown;  // on a screen of 96 dpi
    };
    const Case cases[] = {
        {"a 300 dpi scan", 600, 300, 300, PixelSize{192, 96}},
        {"halves round up", 25, 7, 192, PixelSize{13, 4}},
        {"never below one pixel", 1, 1, 2400, PixelSize{1, 1}},
        {"the lowest resolution taken", 24, 12, 24, PixelSize{96, 48}},
        {"just off the screen's", 100, 100, 96.6, PixelSize{99, 99}},
        {"within half a dot of the screen's", 100, 100, 96.5, std::nullopt},
        {"below 24 dpi", 24, 24, 23.9, std::nullopt},
        {"above 2400 dpi", 24, 24, 2400.1, std::nullopt},
        {"no resolution", 100, 100, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BackgroundPictureSize(c.width, c.height, c.dpi, 96), c.shown) << c.what;
    }
}

}  // namespace
}  // namespace scorvane::designer
