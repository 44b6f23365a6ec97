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

TEST(Utf8, TrimReplaceAndNumbers) {
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\ta "), "\ta");  // only spaces are trimmed
    EXPECT_EQ(ReplaceAll("aXbXX", "X", "YX"), "aYXbYXYX");
    EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
    EXPECT_TRUE(EqualsIgnoreCaseAscii("SchoolInfo.INI", "schoolinfo.ini"));
    long long v = 0;
    EXPECT_TRUE(ParseWholeNumber("46", 1, 32767, v));
    EXPECT_EQ(v, 46);
    EXPECT_TRUE(ParseWholeNumber("-1", -1, 10, v));
    EXPECT_FALSE(ParseWholeNumber("32768", 1, 32767, v));
    EXPECT_FALSE(ParseWholeNumber("4x", 1, 32767, v));
    EXPECT_FALSE(ParseWholeNumber("", 1, 32767, v));
    EXPECT_FALSE(ParseWholeNumber("1.5", 1, 32767, v));
    EXPECT_FALSE(ParseWholeNumber("99999999999999999999", 1, 32767, v));
}

}  // namespace
}  // namespace scorvane
