#include "main/document/font_size_choices.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(FontSizeChoicesTest, TheListAndItsPreselection) {
    // The numbers first, then the Chinese names with their point sizes.
    EXPECT_EQ(kFontSizeChoices[3].caption, "12");
    EXPECT_EQ(kFontSizeChoices[14].caption, "72");
    EXPECT_EQ(kFontSizeChoices[15].caption, "初号");
    EXPECT_EQ(kFontSizeChoices[15].points, 42);
    EXPECT_EQ(kFontSizeChoices[24].caption, "小四");
    EXPECT_EQ(kFontSizeChoices[24].points, 12);
    EXPECT_EQ(kFontSizeChoices[30].caption, "八号");
    EXPECT_EQ(kFontSizeChoices[30].points, 5);

    // A size that is written in the list is found among the numbers, never among the names
    // ("12" and "小四" are both 12 points; "36" and "小初" both 36).
    EXPECT_EQ(PreselectedFontSize(12), 3);
    EXPECT_EQ(PreselectedFontSize(36), 12);
    EXPECT_EQ(PreselectedFontSize(8), 0);
    EXPECT_EQ(PreselectedFontSize(72), 14);
    // Sizes only a name carries, or none at all, open on "9".
    for (double other : {15.0, 42.0, 5.0, 10.5, 11.0, 400.0}) {
        EXPECT_EQ(PreselectedFontSize(other), 1) << other;
    }
}

}  // namespace
}  // namespace scorvane
