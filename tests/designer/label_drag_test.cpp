// Dragging a label in whole screen pixels: the threshold, the grab point, the page's edges, dropping and
// cancelling.
#include "designer/label_drag.h"

#include <gtest/gtest.h>

namespace scorvane::designer {
namespace {

constexpr int kPageWidth = 794;
constexpr int kPageHeight = 1123;
constexpr int kThreshold = 4;

TEST(LabelDragTest, TheProxyFollowsTheGrabPointOnceTheMouseHasMovedFarEnough) {
    LabelDrag drag;
    drag.press(2, {100, 200, 60, 20}, {110, 205});
    EXPECT_TRUE(drag.pressed());
    EXPECT_FALSE(drag.dragging());
    EXPECT_FALSE(drag.move({112, 206}, kPageWidth, kPageHeight, kThreshold));
    EXPECT_FALSE(drag.dragging());
    EXPECT_TRUE(drag.move({113, 206}, kPageWidth, kPageHeight, kThreshold));
    EXPECT_TRUE(drag.dragging());
    EXPECT_EQ(drag.index(), 2);
    EXPECT_EQ(drag.proxy(), (PixelRect{103, 201, 60, 20}));
    EXPECT_TRUE(drag.move({400, 600}, kPageWidth, kPageHeight, kThreshold));
    EXPECT_FALSE(drag.move({400, 600}, kPageWidth, kPageHeight, kThreshold));
    EXPECT_EQ(drag.release(), (PixelPoint{390, 595}));
    EXPECT_FALSE(drag.pressed());
    EXPECT_FALSE(drag.dragging());
}

TEST(LabelDragTest, AClickDropsNothingAndEscapeLeavesTheLabelWhereItWas) {
    LabelDrag drag;
    drag.press(0, {10, 10, 50, 20}, {20, 20});
    drag.move({21, 21}, kPageWidth, kPageHeight, kThreshold);
    EXPECT_EQ(drag.release(), std::nullopt);

    drag.press(0, {10, 10, 50, 20}, {20, 20});
    // Beginning the drag shows the proxy even where it has not moved yet.
    EXPECT_TRUE(drag.move({20, 20}, kPageWidth, kPageHeight, 0));
    drag.move({300, 300}, kPageWidth, kPageHeight, kThreshold);
    drag.cancel();
    EXPECT_FALSE(drag.dragging());
    EXPECT_EQ(drag.release(), std::nullopt);
    EXPECT_FALSE(drag.move({310, 310}, kPageWidth, kPageHeight, kThreshold));
}

TEST(LabelDragTest, TheProxyStaysOnThePage) {
    LabelDrag drag;
    drag.press(0, {100, 100, 80, 30}, {140, 115});
    drag.move({-50, -70}, kPageWidth, kPageHeight, kThreshold);
    EXPECT_EQ(drag.proxy(), (PixelRect{0, 0, 80, 30}));
    drag.move({5000, 5000}, kPageWidth, kPageHeight, kThreshold);
    EXPECT_EQ(drag.proxy(), (PixelRect{kPageWidth - 80, kPageHeight - 30, 80, 30}));
    // A label wider than the page keeps its left edge on the page.
    drag.press(1, {0, 0, 900, 30}, {450, 10});
    drag.move({700, 500}, kPageWidth, kPageHeight, kThreshold);
    EXPECT_EQ(drag.proxy(), (PixelRect{0, 490, 900, 30}));
}

}  // namespace
}  // namespace scorvane::designer
