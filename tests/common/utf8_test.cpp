#include "common/utf8.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(Utf8, CountsAndCutsByCharacter) {
    EXPECT_EQ(Utf8Length("王小明abc"), 6u);
    EXPECT_EQ(Utf8Left("王小明abc", 2), "王小");
    EXPECT_EQ(Utf8Right("王小明abc", 4), "明abc");
    EXPECT_EQ(Utf8Right("ab", 5), "ab");
    EXPECT_EQ(Utf8Left("ab", 0), "");
}

TEST(Utf8, TrimAndReplace) {
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\ta "), "\ta");  // only spaces are trimmed
    EXPECT_EQ(ReplaceAll("aXbXX", "X", "YX"), "aYXbYXYX");
    EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
    EXPECT_TRUE(EqualsIgnoreCaseAscii("SchoolInfo.INI", "schoolinfo.ini"));
}

TEST(Utf8, WholeNumbersTakeOneSignAtMostAndStayInRange) {
    const std::pair<const char*, long long> good[] = {{"46", 46}, {"-10", -10}, {"+5", 5}, {"32767", 32767}};
    for (auto [text, value] : good) {
        long long v = 0;
        EXPECT_TRUE(ParseWholeNumber(text, -10, 32767, v) && v == value) << text;
    }
    for (const char* bad : {"32768", "4x", "", "1.5", "99999999999999999999", "+-5", "-+5", "+", "-11"}) {
        long long v = 0;
        EXPECT_FALSE(ParseWholeNumber(bad, -10, 32767, v)) << bad;
    }
}

}  // namespace
}  // namespace scorvane
