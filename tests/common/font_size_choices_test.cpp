#include "common/font_size_choices.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(FontSizeChoicesTest, ASizeIsPreselectedAmongTheNumbersNeverAmongTheNames) {
    EXPECT_EQ(kFontSizeChoices[24].caption, "小四");
    EXPECT_EQ(kFontSizeChoices[24].points, 12);
    // "12" and "小四", "36" and "小初" carry the same points: the number is chosen.
    EXPECT_EQ(PreselectedFontSize(12), 3);
    EXPECT_EQ(PreselectedFontSize(36), 12);
    EXPECT_EQ(PreselectedFontSize(8), 0);
    // Sizes only a name carries, or none, open on "9".
    for (double other : {15.0, 42.0, 10.5}) {
        EXPECT_EQ(PreselectedFontSize(other), 1) << other;
    }
}

}  // namespace
}  // namespace scorvane
