#pragma once

#include <string_view>
#include <vector>

namespace scorvane {

// The lines of a text to be drawn: a line ends at CR LF, LF or CR, and every line end starts another
// line, so "a\r\n" is two lines ("a" and "") and an empty text is one empty line.
std::vector<std::string_view> SplitTextLines(std::string_view text);

// The number of lines SplitTextLines would give, without building them.
size_t CountTextLines(std::string_view text);

}  // namespace scorvane
