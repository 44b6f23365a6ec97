#include "common/page_scrolling.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(PageScrolling, TheRangeReachesOneStepBeyondThePictureAndNeverBelowZero) {
    // An A4 page (16840 twips) in a viewport of 9000 with a bar of 255: (16840 - 9000 + 255) / 120 + 1.
    EXPECT_EQ(ScrollMaximum(16840, 9000, 255), 68);
    EXPECT_EQ(ScrollMaximum(11907, 11907, 255), 3);
    EXPECT_EQ(ScrollMaximum(1000, 9000, 255), 0);
    // 417 pages of a 20,000-row table still fit the bar's range.
    EXPECT_EQ(ScrollMaximum(417.0 * 16840, 9000, 255), 58447);
}

}  // namespace
}  // namespace scorvane
