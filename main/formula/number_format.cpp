#include "main/formula/number_format.h"

#include <algorithm>

namespace scorvane {
namespace {

constexpr int kSignificantDigits = 15;

// A decimal number as digits and the position of its point: value = 0.digits x 10^point.
struct Decimal {
    bool negative = false;
    std::string digits;  // significant digits, no leading zeros; empty for zero
    int point = 0;       // how many of the digits stand before the decimal point (may be <0 or >size)
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads "[-+]digits[.digits][E[+-]digits]" (either run of digits may be empty, not both).
bool parseDecimal(std::string_view text, Decimal& out) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        out.negative = text[i] == '-';
        ++i;
    }
    int digitsSeen = 0;
    int point = 0;
    bool afterPoint = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (isDigit(c)) {
            ++digitsSeen;
            if (out.digits.empty() && c == '0') {
                if (afterPoint) {
                    --point;  // a leading zero after the point moves the point left
                }
                continue;
            }
            out.digits.push_back(c);
            if (!afterPoint) {
                ++point;
            }
        } else if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else {
            break;
        }
    }
    if (digitsSeen == 0) {
        return false;
    }
    if (i < text.size()) {
        if (text[i] != 'E' && text[i] != 'e') {
            return false;
        }
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        if (i == text.size()) {
            return false;
        }
        int exponent = 0;
        for (; i < text.size(); ++i) {
            if (!isDigit(text[i])) {
                return false;
            }
            exponent = std::min(exponent * 10 + (text[i] - '0'), 400);  // beyond any double
        }
        point += negativeExponent ? -exponent : exponent;
    }
    while (!out.digits.empty() && out.digits.back() == '0') {
        out.digits.pop_back();
    }
    out.point = out.digits.empty() ? 0 : point;
    return true;
}

// Keeps `keep` digits (keep may be <= 0), rounding half away from zero on the first digit dropped.
void roundDigits(Decimal& d, int keep) {
    if (static_cast<int>(d.digits.size()) <= keep) {
        return;
    }
    bool up = keep >= 0 && d.digits[static_cast<size_t>(keep)] >= '5';
    if (keep < 0) {
        d.digits.clear();
        d.point = 0;
        return;
    }
    d.digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') {
            d.digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[static_cast<size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') {
        d.digits.pop_back();
    }
    if (d.digits.empty()) {
        d.point = 0;
    }
}

struct Pattern {
    bool hasPoint = false;
    int wholeZeros = 0;     // minimum whole digits
    int decimals = 0;       // placeholders after the point
    int fixedDecimals = 0;  // decimals always shown: up to the last "0" after the point
};

bool readPattern(std::string_view pattern, Pattern& p) {
    bool any = false;
    for (char c : pattern) {
        if (c == '.' && !p.hasPoint) {
            p.hasPoint = true;
            any = true;
        } else if (c == '0' || c == '#') {
            any = true;
            if (!p.hasPoint) {
                p.wholeZeros += c == '0' ? 1 : 0;
            } else if (p.decimals < kMaxFormatDecimals) {
                ++p.decimals;
                if (c == '0') {
                    p.fixedDecimals = p.decimals;
                }
            }
        }
    }
    return any;
}

}  // namespace

std::string FormatNumberText(std::string_view number, std::string_view pattern) {
    Pattern p;
    Decimal d;
    if (!readPattern(pattern, p) || !parseDecimal(number, d)) {
        return std::string(number);
    }
    roundDigits(d, kSignificantDigits);
    roundDigits(d, d.point + p.decimals);

    std::string out;
    if (d.negative && !d.digits.empty()) {
        out.push_back('-');
    }
    int wholeDigits = std::max(d.point, 0);
    for (int i = wholeDigits; i < p.wholeZeros; ++i) {
        out.push_back('0');
    }
    for (int i = 0; i < wholeDigits; ++i) {
        out.push_back(i < static_cast<int>(d.digits.size()) ? d.digits[static_cast<size_t>(i)] : '0');
    }
    if (p.hasPoint) {
        out.push_back('.');
        // Decimal place j (1-based) holds digit index point + j - 1.
        int shown = std::max(p.fixedDecimals, static_cast<int>(d.digits.size()) - d.point);
        shown = std::min(shown, p.decimals);
        for (int j = 1; j <= shown; ++j) {
            int index = d.point + j - 1;
            out.push_back(index >= 0 && index < static_cast<int>(d.digits.size())
                              ? d.digits[static_cast<size_t>(index)]
                              : '0');
        }
    }
    return out;
}

NumberPattern ReadNumberPattern(std::string_view pattern) {
    Pattern p;
    NumberPattern out;
    out.applies = readPattern(pattern, p);
    out.decimals = p.decimals;
    out.fixedDecimals = p.fixedDecimals;
    out.wholeZeros = p.wholeZeros;
    return out;
}

std::string FormatForDisplay(std::string_view number, std::string_view pattern) {
    std::string out = FormatNumberText(number, pattern);
    if (!out.empty() && out.back() == '.') {
        out.pop_back();
    }
    return out;
}

}  // namespace scorvane
