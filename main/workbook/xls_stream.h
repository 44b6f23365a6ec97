#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/workbook/xls_compound_file.h"

namespace scorvane {

// A workbook's stream, read from its file a window at a time where its sectors lie, so that a large
// workbook is never held whole: what a reader of the stream holds is the window and what it makes.
class XlsStream {
  public:
    XlsStream(int fd, CompoundStreamPlace place);

    uint64_t size() const { return place_.size; }
    // The bytes [offset, offset + count), valid until the next call; nothing past the end or when the
    // file cannot be read.
    std::optional<std::string_view> view(uint64_t offset, size_t count);

  private:
    bool fill(uint64_t offset, size_t count);

    int fd_;
    CompoundStreamPlace place_;
    std::vector<uint64_t> ends_;  // where each piece ends in the stream
    uint64_t start_ = 0;  // of the window in the stream
    std::string window_;
};

}  // namespace scorvane
