#pragma once

#include <string>
#include <string_view>

namespace scorvane {

// The table's data format: a display pattern for formula results, "###." followed by n characters,
// all "0" (always n decimals) or all "#" (up to n decimals). The default is "###.##".
inline constexpr std::string_view kDefaultDataFormat = "###.##";

// The most decimals a pattern shows; a value carries no more than 15 significant digits.
inline constexpr int kMaxFormatDecimals = 15;

// Shows a number text (as the evaluator writes it: "85", "-0.5", "1.5E-07") through a pattern.
//
// Digit placeholders are "#" and "0"; the first "." separates the whole part from the decimals.
// The whole part shows every digit the value has, padded with leading zeros to the count of "0"
// before the point and without any "0" when the pattern has none there (0.5 shows as ".5"). The
// decimals are rounded half away from zero at the last placeholder after the point (at most 15),
// decided on the number's 15-significant-digit decimal form (1.005 with "###.##" gives "1.01");
// trailing zeros are dropped down to the last "0" placeholder. The point is written whenever the
// pattern has one, so 85 with "###.##" gives "85." and 0 gives ".". A value that rounds to zero
// loses its sign. Other characters of a pattern are ignored; a pattern without placeholders and
// without a point leaves the text as it is, and so does a text that is not a number ("公式错误").
std::string FormatNumberText(std::string_view number, std::string_view pattern);

// What a pattern does to a value: the decimals it rounds to (at most 15), how many of them always show
// (up to its last "0" after the point) and the least count of whole digits. `applies` is false for a
// pattern without placeholders and without a point, which leaves values as they are.
struct NumberPattern {
    bool applies = false;
    int decimals = 0;
    int fixedDecimals = 0;
    int wholeZeros = 0;
};
NumberPattern ReadNumberPattern(std::string_view pattern);

// FormatNumberText, then a trailing "." removed: what a formula cell and the format preview show
// ("85", ".5", "" for 0 with "###.##").
std::string FormatForDisplay(std::string_view number, std::string_view pattern);

}  // namespace scorvane
