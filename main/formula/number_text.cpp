#include "main/formula/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace scorvane {
namespace {

constexpr int kSignificantDigits = 15;

size_t writeExponent(char* out, int exponent) {
    size_t n = 0;
    out[n++] = 'E';
    out[n++] = exponent < 0 ? '-' : '+';
    int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) {
        out[n++] = '0';
    }
    auto [end, ec] = std::to_chars(out + n, out + 8, magnitude);
    (void)ec;
    return static_cast<size_t>(end - out);
}

}  // namespace

size_t NumberToText(double value, char* out, double& rounded) {
    if (value == 0) {
        out[0] = '0';
        rounded = 0;
        return 1;
    }
    // Whole numbers below 1E15 have at most 15 digits and are exact: the common case of totals.
    if (std::fabs(value) < 1e15 && std::trunc(value) == value) {
        auto [end, ec] = std::to_chars(out, out + kNumberTextCapacity, static_cast<long long>(value));
        (void)ec;
        rounded = value;
        return static_cast<size_t>(end - out);
    }

    // 15 significant digits, correctly rounded: "-d.dddddddddddddde+XX".
    char sci[40];
    auto [sciEnd, ec] =
        std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, kSignificantDigits - 1);
    (void)ec;
    const char* p = sci;
    bool negative = *p == '-';
    if (negative) {
        ++p;
    }
    char digits[kSignificantDigits];
    int count = 0;
    for (; p < sciEnd && *p != 'e'; ++p) {
        if (*p != '.') {
            digits[count++] = *p;
        }
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), sciEnd, exponent);
    while (count > 1 && digits[count - 1] == '0') {
        --count;
    }

    size_t n = 0;
    if (negative) {
        out[n++] = '-';
    }
    if (exponent >= -4 && exponent < kSignificantDigits) {
        if (exponent >= 0) {
            for (int i = 0; i <= exponent; ++i) {
                out[n++] = i < count ? digits[i] : '0';
            }
            if (count > exponent + 1) {
                out[n++] = '.';
                for (int i = exponent + 1; i < count; ++i) {
                    out[n++] = digits[i];
                }
            }
        } else {
            out[n++] = '0';
            out[n++] = '.';
            for (int i = -1; i > exponent; --i) {
                out[n++] = '0';
            }
            for (int i = 0; i < count; ++i) {
                out[n++] = digits[i];
            }
        }
    } else {
        out[n++] = digits[0];
        if (count > 1) {
            out[n++] = '.';
            for (int i = 1; i < count; ++i) {
                out[n++] = digits[i];
            }
        }
        n += writeExponent(out + n, exponent);
    }
    // The value of the 15-digit text: the scientific form holds exactly those digits. Next to the
    // largest double the text rounds above it ("1.79769313486232E+308"); its nearest double is then
    // the largest one, not a failed read of 0.
    double back = 0;
    if (std::from_chars(sci, sciEnd, back).ec == std::errc()) {
        rounded = back;
    } else {
        rounded = std::copysign(std::numeric_limits<double>::max(), value);
    }
    return n;
}

std::string NumberToText(double value) {
    char buffer[kNumberTextCapacity];
    double rounded = 0;
    size_t n = NumberToText(value, buffer, rounded);
    return std::string(buffer, n);
}

}  // namespace scorvane
