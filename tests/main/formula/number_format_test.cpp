#include "main/formula/number_format.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(NumberFormat, DefaultPatternShowsUpToTwoDecimals) {
    EXPECT_EQ(FormatNumberText("0", "###.##"), ".");
    EXPECT_EQ(FormatForDisplay("0", "###.##"), "");
    EXPECT_EQ(FormatForDisplay("0.5", "###.##"), ".5");
    EXPECT_EQ(FormatNumberText("85", "###.##"), "85.");
    EXPECT_EQ(FormatForDisplay("85", "###.##"), "85");
    EXPECT_EQ(FormatForDisplay("85.456", "###.##"), "85.46");
    EXPECT_EQ(FormatForDisplay("85.4", "###.##"), "85.4");
    EXPECT_EQ(FormatForDisplay("85.001", "###.##"), "85");
    EXPECT_EQ(FormatForDisplay("1234567.5", "###.##"), "1234567.5");  // every whole digit shows
    EXPECT_EQ(FormatForDisplay("99.999", "###.##"), "100");
}

TEST(NumberFormat, RoundsHalfAwayFromZeroOnTheDecimalForm) {
    EXPECT_EQ(FormatForDisplay("1.005", "###.##"), "1.01");
    EXPECT_EQ(FormatForDisplay("0.125", "###.##"), ".13");
    EXPECT_EQ(FormatForDisplay("-0.125", "###.##"), "-.13");
    EXPECT_EQ(FormatForDisplay("2.5", "###."), "3");
    EXPECT_EQ(FormatForDisplay("-2.5", "###."), "-3");
    EXPECT_EQ(FormatForDisplay("0.005", "###.##"), ".01");
    EXPECT_EQ(FormatForDisplay("0.0049", "###.##"), "");
    // More than 15 significant digits are first taken to 15.
    EXPECT_EQ(FormatForDisplay("1.0049999999999999", "###.##"), "1.01");
}

TEST(NumberFormat, PaddedPatterns) {
    EXPECT_EQ(FormatForDisplay("85", "###.000"), "85.000");
    EXPECT_EQ(FormatForDisplay("0.5", "###.000"), ".500");
    EXPECT_EQ(FormatForDisplay("123.456789", "###.000"), "123.457");
    EXPECT_EQ(FormatForDisplay("0.5", "0.00"), "0.50");
    EXPECT_EQ(FormatForDisplay("7", "000"), "007");
    EXPECT_EQ(FormatForDisplay("1.5", "###.0#"), "1.5");
    EXPECT_EQ(FormatForDisplay("1", "###.0#"), "1.0");
}

TEST(NumberFormat, Negatives) {
    EXPECT_EQ(FormatForDisplay("-85.5", "###.##"), "-85.5");
    EXPECT_EQ(FormatForDisplay("-0.5", "###.##"), "-.5");
    EXPECT_EQ(FormatForDisplay("-12", "###.00"), "-12.00");
    EXPECT_EQ(FormatForDisplay("-0.001", "###.##"), "");  // rounds to zero: no lone sign
    EXPECT_EQ(FormatForDisplay("-0.001", "###.00"), ".00");
}

TEST(NumberFormat, ExponentFormsAndLimits) {
    EXPECT_EQ(FormatForDisplay("1.5E-07", "###.##"), "");
    EXPECT_EQ(FormatForDisplay("1E+15", "###.##"), "1000000000000000");
    EXPECT_EQ(FormatForDisplay("1.23456789012346E+19", "###.##"), "12345678901234600000");
    EXPECT_EQ(FormatForDisplay("1.5E-07", "###." + std::string(15, '0')), ".000000150000000");
    // Decimal counts above 15 count as 15.
    EXPECT_EQ(FormatForDisplay("0.1", "###." + std::string(20, '0')), ".100000000000000");
}

TEST(NumberFormat, NonNumbersAndEmptyPatternsPassThrough) {
    EXPECT_EQ(FormatForDisplay("公式错误", "###.##"), "公式错误");
    EXPECT_EQ(FormatForDisplay("12abc", "###.##"), "12abc");
    EXPECT_EQ(FormatForDisplay("", "###.##"), "");
    EXPECT_EQ(FormatForDisplay("85.456", ""), "85.456");
    EXPECT_EQ(FormatForDisplay("85.456", "abc"), "85.456");
    EXPECT_EQ(FormatForDisplay("85.456", "###"), "85");
}

}  // namespace
}  // namespace scorvane
