#include "common/utf8.h"

#include <charconv>

namespace scorvane {
namespace {

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

size_t Utf8Length(std::string_view text) {
    size_t n = 0;
    for (char c : text) {
        if (!isContinuation(c)) {
            ++n;
        }
    }
    return n;
}

std::string_view Utf8Left(std::string_view text, size_t count) {
    size_t i = 0;
    size_t seen = 0;
    while (i < text.size()) {
        if (!isContinuation(text[i])) {
            if (seen == count) {
                break;
            }
            ++seen;
        }
        ++i;
    }
    return text.substr(0, i);
}

std::string_view Utf8Right(std::string_view text, size_t count) {
    size_t length = Utf8Length(text);
    if (count >= length) {
        return text;
    }
    size_t skip = length - count;
    return text.substr(Utf8Left(text, skip).size());
}

std::string_view TrimSpaces(std::string_view text) {
    size_t b = 0;
    size_t e = text.size();
    while (b < e && text[b] == ' ') {
        ++b;
    }
    while (e > b && text[e - 1] == ' ') {
        --e;
    }
    return text.substr(b, e - b);
}

bool IsBlank(std::string_view text) {
    constexpr std::string_view kFullWidthSpace = "\u3000";
    while (!text.empty()) {
        if (text[0] == ' ' || text[0] == '\t') {
            text.remove_prefix(1);
        } else if (text.starts_with(kFullWidthSpace)) {
            text.remove_prefix(kFullWidthSpace.size());
        } else {
            return false;
        }
    }
    return true;
}

std::string ToLowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y) {
            return false;
        }
    }
    return true;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    if (from.empty()) {
        return std::string(text);
    }
    out.reserve(text.size());
    size_t pos = 0;
    while (true) {
        size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos) {
            out.append(text.substr(pos));
            break;
        }
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool ParseWholeNumber(std::string_view text, long long min, long long max, long long& value) {
    // One optional sign, then digits only ("+-5" is no number).
    const size_t signs = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (signs == text.size() || text[signs] < '0' || text[signs] > '9') {
        return false;
    }
    const size_t start = text[0] == '+' ? 1 : 0;
    long long v = 0;
    auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + text.size(), v);
    if (ec != std::errc() || ptr != text.data() + text.size() || v < min || v > max) {
        return false;
    }
    value = v;
    return true;
}

}  // namespace scorvane
