#include "common/line_reader.h"

#include <cstring>

namespace scorvane {

bool LineReader::next(std::string_view& line) {
    if (pos_ >= text_.size()) {
        return false;
    }
    const char* begin = text_.data() + pos_;
    const void* found = std::memchr(begin, '\n', text_.size() - pos_);
    size_t end = found ? static_cast<size_t>(static_cast<const char*>(found) - text_.data()) : text_.size();
    size_t lineEnd = end;
    if (found && lineEnd > pos_ && text_[lineEnd - 1] == '\r') {
        --lineEnd;
    }
    line = text_.substr(pos_, lineEnd - pos_);
    pos_ = found ? end + 1 : text_.size();
    return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    LineReader reader(text);
    std::string_view line;
    while (reader.next(line)) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace scorvane
