#pragma once

#include <cstddef>
#include <string>

namespace scorvane {

// The longest text NumberToText writes ("-1.23456789012345E-308").
inline constexpr size_t kNumberTextCapacity = 32;

// A finite double as the evaluator shows it: at most 15 significant digits, "." as the decimal point,
// no thousands separators, no trailing zeros after the point, "0.5" for magnitudes below 1, a leading
// "-" for negatives. Magnitudes from 1E-4 up to (not including) 1E15 are written plainly, all others
// in exponent form with "E", a sign and at least two exponent digits ("1E+15", "1.5E-07"). Zero
// (either sign) is "0".
//
// Writes into `out` (at least kNumberTextCapacity bytes) and returns the length; `rounded` receives
// the value of the text written, so later arithmetic sees the same 15 digits the user sees.
size_t NumberToText(double value, char* out, double& rounded);

std::string NumberToText(double value);

}  // namespace scorvane
