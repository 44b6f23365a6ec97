#include "common/fitted_text.h"

#include <gtest/gtest.h>

#include "support/recording_surface.h"

namespace scorvane {
namespace {

using testing::RecordingSurface;

// Recording metrics at 9 points: a digit 90 wide, a Chinese character 180; "…" counts as one wide
// character.
TEST(FittedText, WhatDoesNotFitShrinksThenNumbersBecomeMarksAndTextIsCut) {
    struct Case {
        const char* text;
        double width;
        const char* printed;
        double size;
    };
    const Case cases[] = {
        {"85", 580, "85", 9},                               // fits: as it is
        {"欧阳文轩", 720, "欧阳文轩", 9},                   // exactly fits
        {"欧阳文轩", 580, "欧阳文轩", 7},                   // 7 x 80 = 560; 7.5 would be 600
        {"123457900.11", 620, "123457900.11", 5},           // 5 points: 600
        {"123457900.11", 580, "######", 9},                 // not even at 5 points: marks at the table's size
        {"-.5", 20, "#", 9},                                // at least one mark
        {"张三李四王五赵六钱七孙八", 580, "张三李四…", 5},  // 5 x 100 with the ellipsis
        {"甲\r\n张三李四王五赵六钱七孙八", 580, "甲\r\n张三李四…", 5},  // each line cut by itself
        {"12号楼 3 单元 456 室", 300, "12号…", 5},  // digits in a text do not make it a number
    };
    for (const Case& c : cases) {
        RecordingSurface s;
        s.setFont(SurfaceFont{});
        const FittedText fitted = FitText(s, c.text, c.width);
        EXPECT_EQ(fitted.text, c.printed) << c.text << " in " << c.width;
        EXPECT_EQ(fitted.size, c.size) << c.text << " in " << c.width;
        EXPECT_EQ(s.font(), SurfaceFont{}) << "the surface keeps its font";
    }

    for (const char* number : {"85", " 92.5 ", "-.5", "+3", "1.5E+20", "2e-3", "12%", "7."}) {
        EXPECT_TRUE(IsNumberText(number)) << number;
    }
    for (const char* text : {"", "85分", "1e", ".", "-", "1,000", "--1", "1.2.3", "%"}) {
        EXPECT_FALSE(IsNumberText(text)) << text;
    }
}

}  // namespace
}  // namespace scorvane
