#include "common/file_line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace scorvane {
namespace {

constexpr size_t kChunk = 256 * 1024;

}  // namespace

FileLineReader::FileLineReader(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        return;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    size_ = static_cast<uint64_t>(st.st_size);
    // A small file takes a buffer of its own size (and one byte, to see its end).
    capacity_ = size_ + 1 < kChunk ? static_cast<size_t>(size_) + 1 : kChunk;
    buffer_ = std::make_unique_for_overwrite<char[]>(capacity_);
}

FileLineReader::~FileLineReader() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FileLineReader::fill() {
    if (atEnd_ || !ok()) {
        return false;
    }
    // The unread bytes go to the front; a line longer than the buffer doubles it.
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == capacity_) {
        const size_t grown = capacity_ * 2;
        auto next = std::make_unique_for_overwrite<char[]>(grown);
        std::memcpy(next.get(), buffer_.get(), end_);
        buffer_ = std::move(next);
        capacity_ = grown;
    }
    while (true) {
        const ssize_t n = ::read(fd_, buffer_.get() + end_, capacity_ - end_);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            failed_ = true;
            return false;
        }
        if (n == 0) {
            atEnd_ = true;
            return false;
        }
        end_ += static_cast<size_t>(n);
        return true;
    }
}

bool FileLineReader::next(std::string_view& line) {
    size_t searched = begin_;
    while (true) {
        const char* base = buffer_.get();
        if (const void* found = end_ > searched ? std::memchr(base + searched, '\n', end_ - searched) : nullptr) {
            const size_t newline = static_cast<size_t>(static_cast<const char*>(found) - base);
            size_t lineEnd = newline;
            if (lineEnd > begin_ && base[lineEnd - 1] == '\r') {
                --lineEnd;
            }
            line = std::string_view(base + begin_, lineEnd - begin_);
            consumed_ += newline + 1 - begin_;
            begin_ = newline + 1;
            return true;
        }
        const size_t unreadBefore = end_ - begin_;
        if (!fill()) {
            if (!ok() || end_ == begin_) {
                return false;
            }
            // The last line, without a line end.
            line = std::string_view(buffer_.get() + begin_, end_ - begin_);
            consumed_ += end_ - begin_;
            begin_ = end_;
            return true;
        }
        searched = begin_ + unreadBefore;
    }
}

}  // namespace scorvane
