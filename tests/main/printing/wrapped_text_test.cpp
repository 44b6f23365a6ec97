#include "main/printing/wrapped_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace scorvane {
namespace {

// A Latin letter or digit is 1 wide, any other character 2.
double Measure(std::string_view line) {
    double width = 0;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        width += byte < 0x80 ? 1 : (byte & 0xC0) == 0xC0 ? 2 : 0;
    }
    return width;
}

TEST(WrappedText, LinesBreakBetweenCharactersButNotInsideNumbersNorBeforeClosingMarks) {
    // {text, width} -> the lines
    const std::vector<std::pair<std::pair<std::string, double>, std::string>> cases = {
        {{"语文数学英语", 8}, "语文数学\n英语"},
        {{"语文数学英语", 12}, "语文数学英语"},
        {{"语文数学英语", 11.5}, "语文数学英\n语"},
        {{"总分 534；语文 93", 10}, "总分 534；\n语文 93"},  // the space where it breaks is dropped
        {{"参考 132 人", 7}, "参考\n132 人"},
        {{"一本，二本。", 5}, "一\n本，\n二\n本。"},  // "，" never begins a line
        {{"学号20240302", 6}, "学号\n202403\n02"},    // a number wider than the line is split
        {{"甲\n乙丙丁", 4}, "甲\n乙丙\n丁"},
        {{"甲  乙", 2}, "甲\n乙"},
        {{"", 4}, ""},
        {{"语文数学", 0}, "语文数学"},
        {{"语文数学", -1}, "语文数学"},
    };
    for (const auto& [in, lines] : cases) {
        EXPECT_EQ(WrapToWidth(in.first, in.second, Measure), lines) << in.first << " / " << in.second;
    }
}

}  // namespace
}  // namespace scorvane
