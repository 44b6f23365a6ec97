#include "main/workbook/xls_stream.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace scorvane {
namespace {

constexpr size_t kWindow = 256 * 1024;

}  // namespace

XlsStream::XlsStream(int fd, CompoundStreamPlace place) : fd_(fd), place_(std::move(place)) {
    uint64_t end = 0;
    for (const CompoundPiece& piece : place_.pieces) {
        end += piece.length;
        ends_.push_back(end);
    }
}

std::optional<std::string_view> XlsStream::view(uint64_t offset, size_t count) {
    if (offset > place_.size || count > place_.size - offset) {
        return std::nullopt;
    }
    if (offset < start_ || offset + count > start_ + window_.size()) {
        // A window grown from where it starts (a record with many CONTINUE records) grows to twice its
        // size at least, so that a long record is not read over and over.
        const size_t grown = offset == start_ ? 2 * window_.size() : 0;
        if (!fill(offset, std::max({count, kWindow, grown}))) {
            return std::nullopt;
        }
    }
    return std::string_view(window_).substr(static_cast<size_t>(offset - start_), count);
}

bool XlsStream::fill(uint64_t offset, size_t count) {
    count = static_cast<size_t>(std::min<uint64_t>(count, place_.size - offset));
    window_.resize(count);
    start_ = offset;
    // The pieces of the file that hold [offset, offset + count).
    size_t done = 0;
    for (size_t i = static_cast<size_t>(std::upper_bound(ends_.begin(), ends_.end(), offset) - ends_.begin());
         i < ends_.size() && done < count; ++i) {
        const CompoundPiece& piece = place_.pieces[i];
        const uint64_t at = offset + done;
        const uint64_t pieceStart = ends_[i] - piece.length;
        const size_t n = static_cast<size_t>(std::min<uint64_t>(count - done, ends_[i] - at));
        for (size_t read = 0; read < n;) {
            const ssize_t got = ::pread(fd_, window_.data() + done + read, n - read,
                                        static_cast<off_t>(piece.offset + (at - pieceStart) + read));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                window_.clear();
                return false;
            }
            read += static_cast<size_t>(got);
        }
        done += n;
    }
    return done == count;
}

}  // namespace scorvane
