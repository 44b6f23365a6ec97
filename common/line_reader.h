#pragma once

#include <string_view>
#include <vector>

namespace scorvane {

// Walks a text line by line. A line ends at CR LF or at LF; a line end after the last line does not
// start another line, so "a\r\n" is one line and "a\r\n\r\n" two ("a" and "").
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // Sets `line` to the next line (without its line end); false when no line is left.
    bool next(std::string_view& line);

    bool atEnd() const { return pos_ >= text_.size(); }

    // The text from the current position to the end.
    std::string_view rest() const { return text_.substr(pos_ < text_.size() ? pos_ : text_.size()); }

  private:
    std::string_view text_;
    size_t pos_ = 0;
};

std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace scorvane
