#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace scorvane {

// Reads a file line by line in one pass through a buffer of its own, so that a large file is never
// held whole. Lines end as LineReader's do: at CR LF or at LF, and a line end after the last line does
// not start another line. Only a regular file is read (a pipe or a folder standing there is refused
// rather than waited on).
class FileLineReader {
  public:
    explicit FileLineReader(const std::string& path);
    ~FileLineReader();
    FileLineReader(const FileLineReader&) = delete;
    FileLineReader& operator=(const FileLineReader&) = delete;

    // False when the file could not be opened as a regular file, or a read failed.
    bool ok() const { return fd_ >= 0 && !failed_; }

    // Sets `line` to the next line (without its line end), valid until the next call; false when no
    // line is left or reading failed (then ok() is false).
    bool next(std::string_view& line);

    // The bytes of the file not yet returned as lines (as the file's size stood when it was opened):
    // no more lines than this, plus one, can follow.
    uint64_t remaining() const { return size_ > consumed_ ? size_ - consumed_ : 0; }

  private:
    bool fill();  // reads more bytes behind the unread ones; false at the end of the file or on failure

    int fd_ = -1;
    bool failed_ = false;
    bool atEnd_ = false;
    uint64_t size_ = 0;
    uint64_t consumed_ = 0;
    std::unique_ptr<char[]> buffer_;
    size_t capacity_ = 0;
    size_t begin_ = 0;  // the unread bytes are [begin_, end_)
    size_t end_ = 0;
};

}  // namespace scorvane
