#include "main/workspace/class_value_match.h"

#include "common/utf8.h"

namespace scorvane {
namespace {

constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";
constexpr std::string_view kFullWidthDigitZero = "\xEF\xBC\x90";  // U+FF10; U+FF19 is ...\x99
constexpr std::string_view kGradeWord = "年级";
constexpr std::string_view kClassWord = "班";

// The value without blanks (spaces, tabs, full-width spaces) around it.
std::string_view trimmed(std::string_view text) {
    while (true) {
        if (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
            text.remove_prefix(1);
        } else if (StartsWith(text, kFullWidthSpace)) {
            text.remove_prefix(kFullWidthSpace.size());
        } else if (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
            text.remove_suffix(1);
        } else if (text.size() >= kFullWidthSpace.size() &&
                   text.substr(text.size() - kFullWidthSpace.size()) == kFullWidthSpace) {
            text.remove_suffix(kFullWidthSpace.size());
        } else {
            return text;
        }
    }
}

// Full-width digits as ASCII digits.
std::string asciiDigits(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text.substr(i, 2) == kFullWidthDigitZero.substr(0, 2) && i + 2 < text.size() &&
            static_cast<unsigned char>(text[i + 2]) >= 0x90 &&
            static_cast<unsigned char>(text[i + 2]) <= 0x99) {
            out.push_back(static_cast<char>('0' + (static_cast<unsigned char>(text[i + 2]) - 0x90)));
            i += 3;
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

bool takePrefix(std::string_view& text, std::string_view prefix) {
    if (prefix.empty() || !StartsWith(text, prefix)) {
        return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<int> ClassNumberOf(std::string_view value, std::string_view grade) {
    const std::string normal = asciiDigits(trimmed(value));
    std::string_view rest = normal;
    std::string_view gradeName = trimmed(grade);
    // A grade named "高一年级" is also written "高一".
    const bool longName = gradeName.size() > kGradeWord.size() &&
                          gradeName.substr(gradeName.size() - kGradeWord.size()) == kGradeWord;
    const std::string full = asciiDigits(gradeName);
    const std::string shortName =
        longName ? asciiDigits(gradeName.substr(0, gradeName.size() - kGradeWord.size())) : std::string();
    if (takePrefix(rest, full) || takePrefix(rest, shortName)) {
        takePrefix(rest, kGradeWord);
        rest = trimmed(rest);
    }
    std::string_view close;
    if (takePrefix(rest, "(")) {
        close = ")";
    } else if (takePrefix(rest, "（")) {
        close = "）";
    }
    size_t digits = 0;
    while (digits < rest.size() && isDigit(rest[digits])) {
        ++digits;
    }
    long long number = 0;
    if (digits == 0 || !ParseWholeNumber(rest.substr(0, digits), 1, 9999, number)) {
        return std::nullopt;
    }
    rest.remove_prefix(digits);
    if (!close.empty() && !takePrefix(rest, close)) {
        return std::nullopt;
    }
    takePrefix(rest, kClassWord);
    if (!rest.empty()) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

ClassValue MatchClassValue(std::string_view value, std::string_view grade,
                           const std::vector<std::string>& classes) {
    const std::string_view v = trimmed(value);
    ClassValue out;
    if (v.empty()) {
        return out;
    }
    const std::string_view gradeName = trimmed(grade);
    for (size_t i = 0; i < classes.size(); ++i) {
        const std::string_view name = trimmed(classes[i]);
        if (v == name || (v.size() == gradeName.size() + name.size() && StartsWith(v, gradeName) &&
                          v.substr(gradeName.size()) == name)) {
            out.kind = ClassValue::Kind::Class;
            out.index = static_cast<int>(i);
            return out;
        }
    }
    const std::optional<int> number = ClassNumberOf(v, gradeName);
    if (!number) {
        out.kind = ClassValue::Kind::Foreign;
        return out;
    }
    out.number = *number;
    for (size_t i = 0; i < classes.size(); ++i) {
        if (ClassNumberOf(classes[i], gradeName) == number) {
            out.kind = ClassValue::Kind::Class;
            out.index = static_cast<int>(i);
            return out;
        }
    }
    out.kind = ClassValue::Kind::NewClass;
    return out;
}

std::string NewClassName(int number, std::string_view grade, const std::vector<std::string>& classes) {
    for (const std::string& name : classes) {
        if (!ClassNumberOf(name, grade)) {
            continue;
        }
        // The last run of digits is the class's number.
        size_t end = name.size();
        while (end > 0 && !isDigit(name[end - 1])) {
            --end;
        }
        size_t begin = end;
        while (begin > 0 && isDigit(name[begin - 1])) {
            --begin;
        }
        if (begin == end) {
            break;  // written in full-width digits: the usual form
        }
        std::string digits = std::to_string(number);
        if (name[begin] == '0' && digits.size() < end - begin) {
            digits.insert(0, end - begin - digits.size(), '0');
        }
        return name.substr(0, begin) + digits + name.substr(end);
    }
    return "(" + std::to_string(number) + ")班";
}

}  // namespace scorvane
