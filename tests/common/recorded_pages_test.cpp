#include "common/recorded_pages.h"

#include <gtest/gtest.h>

#include "support/recording_surface.h"

namespace scorvane {
namespace {

using testing::RecordingSurface;
using Op = RecordingSurface::Op;

SurfaceFont Hei(double size) {
    SurfaceFont f;
    f.name = "黑体";
    f.size = size;
    f.bold = true;
    return f;
}

// A job of three pages, the third turned: a title, a rule and a cell on each.
void DrawThreePages(DrawingSurface& s) {
    for (int page = 1; page <= 3; ++page) {
        if (page == 3) {
            s.setOrientation(PageOrientation::Landscape);
        }
        if (page > 1) {
            s.newPage();
        }
        s.setFont(Hei(14));
        s.setTextColor(Rgb(128, 0, 0));
        s.setCurrentX(100);
        s.setCurrentY(50);
        s.printText("第" + std::to_string(page) + "页");
        s.setLineWidth(2);
        s.drawLine(0, 600, s.width(), 600, Rgb(128, 128, 128));
        s.setFont(SurfaceFont());
        s.drawTextInRect(600, 700, 1800, 925, "85", TextAlign::Right);
    }
}

TEST(RecordedPagesTest, KeepsEachPageToDrawAgainAsItWasDrawn) {
    RecordingSurface metrics;
    RecordedPages job(RecordedPages::Kind::Printer, metrics);
    RecordingSurface direct;
    DrawThreePages(job);
    DrawThreePages(direct);
    ASSERT_EQ(job.pageCount(), 3);
    EXPECT_EQ(job.pageOrientation(0), PageOrientation::Portrait);
    EXPECT_EQ(job.pageOrientation(2), PageOrientation::Landscape);
    // Texts are measured by the metrics surface: the title's line moved the position by its height.
    EXPECT_DOUBLE_EQ(job.currentY(), direct.currentY());
    EXPECT_DOUBLE_EQ(job.textWidth("成绩"), RecordingSurface::CharWidth(9, true) * 2);

    RecordingSurface printer;
    ASSERT_TRUE(ReplayJob(job, 0, 2, printer));
    ASSERT_EQ(printer.ops().size(), direct.ops().size());
    for (size_t i = 0; i < direct.ops().size(); ++i) {
        const Op& a = printer.ops()[i];
        const Op& b = direct.ops()[i];
        EXPECT_EQ(a.type, b.type) << i;
        EXPECT_EQ(a.text, b.text) << i;
        EXPECT_EQ(a.x1, b.x1) << i;
        EXPECT_EQ(a.y1, b.y1) << i;
        EXPECT_EQ(a.x2, b.x2) << i;
        EXPECT_EQ(a.font, b.font) << i;
        EXPECT_EQ(a.color, b.color) << i;
        EXPECT_EQ(a.page, b.page) << i;
        if (a.type == Op::Line) {
            EXPECT_EQ(a.lineWidth, 2);
        }
    }
    // The third sheet was turned before it was started: its rule runs across the landscape page.
    EXPECT_EQ(printer.ops(Op::Line).back().x2, kA4Height);
}

TEST(RecordedPagesTest, ReplaysARangeAndStopsWhereTheJobStopsOrASheetFails) {
    RecordingSurface metrics;
    RecordedPages job(RecordedPages::Kind::Printer, metrics);
    DrawThreePages(job);

    RecordingSurface two;
    std::vector<int> asked;
    EXPECT_TRUE(ReplayJob(job, 1, 5, two, [&](int n) {
        asked.push_back(n);
        return true;
    }));
    EXPECT_EQ(asked, (std::vector<int>{1, 2}));
    EXPECT_EQ(two.pages(), 2);
    EXPECT_TRUE(two.hasText("第2页"));
    EXPECT_FALSE(two.hasText("第1页"));

    RecordingSurface stopped;
    EXPECT_FALSE(ReplayJob(job, 0, 2, stopped, [](int n) { return n < 2; }));
    EXPECT_EQ(stopped.pages(), 1);
    EXPECT_FALSE(stopped.hasText("第2页"));

    RecordingSurface failing;
    failing.failAtPage(2);
    EXPECT_FALSE(ReplayJob(job, 0, 2, failing));
    EXPECT_TRUE(failing.hasText("第2页"));
    EXPECT_FALSE(failing.hasText("第3页"));
}

TEST(RecordedPagesTest, APictureDrawsOnlyWhatTouchesTheAreaAskedFor) {
    RecordingSurface metrics(RecordingSurface::Kind::Picture);
    RecordedPages picture(RecordedPages::Kind::Picture, metrics);
    picture.setSize(kA4Width, 100 * kA4Height);
    for (int page = 0; page < 100; ++page) {
        const double top = page * kA4Height;
        picture.setCurrentX(500);
        picture.setCurrentY(top + 567);
        picture.printText("页" + std::to_string(page));
    }
    // A separator reaching over the edge between pages 49 and 50, and a circle on it.
    picture.drawLine(0, 50 * kA4Height - 10, 11907, 50 * kA4Height + 10, Rgb(128, 128, 128));
    picture.drawCircle(300, 50 * kA4Height, 40, 0);
    EXPECT_EQ(picture.pageCount(), 1);

    RecordingSurface view(RecordingSurface::Kind::Picture);
    picture.replayArea(0, 49.5 * kA4Height, 11907, 50.5 * kA4Height, view);
    EXPECT_EQ(view.texts(), (std::vector<std::string>{"页50"}));
    ASSERT_EQ(view.count(Op::Line), 1);  // once, though it lies in two bands
    EXPECT_EQ(view.count(Op::Circle), 1);
    // Moved so that the area's top-left corner is the target's origin.
    EXPECT_DOUBLE_EQ(view.textOp("页50").y1, 0.5 * kA4Height + 567);
    EXPECT_DOUBLE_EQ(view.ops(Op::Line)[0].y1, 0.5 * kA4Height - 10);
    EXPECT_DOUBLE_EQ(view.ops(Op::Circle)[0].x2, 40);

    RecordingSurface last(RecordingSurface::Kind::Picture);
    picture.replayArea(0, 99 * kA4Height, 11907, 101 * kA4Height, last);
    EXPECT_EQ(last.texts(), (std::vector<std::string>{"页99"}));

    picture.clear();
    EXPECT_EQ(picture.size(), 0u);
    RecordingSurface none(RecordingSurface::Kind::Picture);
    picture.replayArea(0, 0, 11907, 100 * kA4Height, none);
    EXPECT_TRUE(none.ops().empty());
}

}  // namespace
}  // namespace scorvane
