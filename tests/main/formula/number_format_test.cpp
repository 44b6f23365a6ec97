#include "main/formula/number_format.h"

#include <gtest/gtest.h>

#include <utility>

namespace scorvane {
namespace {

// Each value and what the pattern shows of it.
void ExpectShown(const std::string& pattern,
                 std::initializer_list<std::pair<const char*, const char*>> cases) {
    for (const auto& [value, shown] : cases) {
        EXPECT_EQ(FormatForDisplay(value, pattern), shown) << value << " with " << pattern;
    }
}

// The tables below keep several cases a line.
// clang-format off

TEST(NumberFormat, DefaultPatternShowsUpToTwoDecimals) {
    // The pattern leaves a bare point behind a whole number; the display drops it, and 0 shows nothing.
    EXPECT_EQ(FormatNumberText("0", "###.##"), ".");
    EXPECT_EQ(FormatNumberText("85", "###.##"), "85.");
    ExpectShown("###.##", {{"0", ""}, {"0.5", ".5"}, {"85", "85"}, {"85.456", "85.46"}, {"85.4", "85.4"},
                           {"85.001", "85"}, {"99.999", "100"},
                           {"1234567.5", "1234567.5"}});  // every whole digit shows
}

TEST(NumberFormat, RoundsHalfAwayFromZeroOnTheDecimalForm) {
    ExpectShown("###.##", {{"1.005", "1.01"}, {"0.125", ".13"}, {"-0.125", "-.13"}, {"0.005", ".01"},
                           {"0.0049", ""},
                           {"1.0049999999999999", "1.01"}});  // first taken to 15 significant digits
    ExpectShown("###.", {{"2.5", "3"}, {"-2.5", "-3"}});
}

TEST(NumberFormat, PaddedPatternsAndNegatives) {
    ExpectShown("###.000", {{"85", "85.000"}, {"0.5", ".500"}, {"123.456789", "123.457"}});
    ExpectShown("0.00", {{"0.5", "0.50"}});
    ExpectShown("000", {{"7", "007"}});
    ExpectShown("###.0#", {{"1.5", "1.5"}, {"1", "1.0"}});
    ExpectShown("###.##", {{"-85.5", "-85.5"}, {"-0.5", "-.5"},
                           {"-0.001", ""}});  // rounds to zero: no lone sign
    ExpectShown("###.00", {{"-12", "-12.00"}, {"-0.001", ".00"}});
}

TEST(NumberFormat, ExponentFormsLimitsAndTextsThatAreNoNumbers) {
    ExpectShown("###.##", {{"1.5E-07", ""}, {"1E+15", "1000000000000000"},
                           {"1.23456789012346E+19", "12345678901234600000"},
                           {"公式错误", "公式错误"}, {"12abc", "12abc"}, {"", ""}});
    ExpectShown("###." + std::string(15, '0'), {{"1.5E-07", ".000000150000000"}});
    ExpectShown("###." + std::string(20, '0'), {{"0.1", ".100000000000000"}});  // more than 15 count as 15
    ExpectShown("", {{"85.456", "85.456"}});
    ExpectShown("abc", {{"85.456", "85.456"}});
    ExpectShown("###", {{"85.456", "85"}});
}

// clang-format on

}  // namespace
}  // namespace scorvane
