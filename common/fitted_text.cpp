#include "common/fitted_text.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/text_lines.h"
#include "common/utf8.h"

namespace scorvane {
namespace {

constexpr double kStep = 0.5;  // points

bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// The largest whole number of half points not above `size`.
double halfPointsBelow(double size) {
    return std::floor(size / kStep) * kStep;
}

// The line, or its longest start that fits with "…" after it (in the surface's font).
std::string cutLine(DrawingSurface& s, std::string_view line, double width) {
    if (s.textWidth(line) <= width) {
        return std::string(line);
    }
    // The byte ends of the line's starts, one character longer each.
    std::vector<size_t> ends;
    for (size_t i = 1; i <= line.size(); ++i) {
        if (i == line.size() || (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) {
            ends.push_back(i);
        }
    }
    // Binary search for the most characters that fit; none at all leaves the ellipsis alone.
    size_t low = 0;
    size_t high = ends.size();
    while (low < high) {
        const size_t mid = (low + high + 1) / 2;
        std::string candidate(line.substr(0, ends[mid - 1]));
        candidate += kEllipsis;
        if (s.textWidth(candidate) <= width) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    std::string out(line.substr(0, low == 0 ? 0 : ends[low - 1]));
    out += kEllipsis;
    return out;
}

}  // namespace

bool IsNumberText(std::string_view text) {
    const std::string_view t = TrimSpaces(text);
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    while (i < t.size() && isDigit(t[i])) {
        ++i, ++digits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i])) {
            ++i, ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
            ++i;
        }
        size_t exponent = 0;
        while (i < t.size() && isDigit(t[i])) {
            ++i, ++exponent;
        }
        if (exponent == 0) {
            return false;
        }
    }
    if (i < t.size() && t[i] == '%') {
        ++i;
    }
    return i == t.size();
}

FittedText FitText(DrawingSurface& surface, std::string_view text, double width, double fullWidth) {
    const SurfaceFont original = surface.font();
    FittedText out{std::string(text), original.size};
    const double full = fullWidth >= 0 ? fullWidth : surface.textWidth(text);
    if (full <= width) {
        return out;
    }

    // Text narrows in proportion to its size: the size the width calls for, checked, and smaller
    // sizes after it should the font's small sizes be a little wider.
    SurfaceFont smaller = original;
    const double below = std::ceil(original.size / kStep) * kStep - kStep;
    double size = std::min(below, halfPointsBelow(original.size * std::max(width, 0.0) / full));
    for (; size >= kSmallestPrintSize; size -= kStep) {
        smaller.size = size;
        surface.setFont(smaller);
        if (surface.textWidth(text) <= width) {
            out.size = size;
            surface.setFont(original);
            return out;
        }
    }

    if (IsNumberText(text)) {
        surface.setFont(original);
        const double mark = surface.textWidth("#");
        const auto count = mark > 0 ? static_cast<size_t>(std::max(1.0, std::floor(width / mark))) : 1;
        out.text.assign(count, '#');
        return out;
    }
    smaller.size = std::min(original.size, kSmallestPrintSize);
    surface.setFont(smaller);
    out.size = smaller.size;
    out.text.clear();
    bool first = true;
    for (std::string_view line : SplitTextLines(text)) {
        if (!first) {
            out.text += "\r\n";
        }
        first = false;
        out.text += cutLine(surface, line, width);
    }
    surface.setFont(original);
    return out;
}

}  // namespace scorvane
