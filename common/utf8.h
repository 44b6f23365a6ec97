#pragma once

#include <string>
#include <string_view>

namespace scorvane {

// Character-wise helpers over UTF-8 text. A "character" is one code point, which is what a user
// counts: a Chinese character is one character, as is a Latin letter.

size_t Utf8Length(std::string_view text);
std::string_view Utf8Left(std::string_view text, size_t count);
std::string_view Utf8Right(std::string_view text, size_t count);

// Removes leading and trailing spaces (U+0020 only, as the system's trimming does).
std::string_view TrimSpaces(std::string_view text);

// True when the text holds nothing but blanks: spaces, tabs and the full-width space U+3000 that a
// Chinese input method types (the empty text included). Such an answer to a name or title prompt
// counts as no answer.
bool IsBlank(std::string_view text);

std::string ToLowerAscii(std::string_view text);
bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b);

// Replaces every occurrence of `from` (non-empty) by `to`, left to right, without rescanning.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

bool StartsWith(std::string_view text, std::string_view prefix);

// Parses a whole decimal integer (optional sign, digits, nothing else); false when it is not one or
// falls outside [min, max].
bool ParseWholeNumber(std::string_view text, long long min, long long max, long long& value);

}  // namespace scorvane
