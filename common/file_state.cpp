#include "common/file_state.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "common/content_hash.h"

namespace scorvane {
namespace {

constexpr size_t kReadPiece = 256 * 1024;

bool missing(int error) {
    return error == ENOENT || error == ENOTDIR;
}

FileState unreadable() {
    FileState state;
    state.kind = FileState::Kind::Unreadable;
    return state;
}

// The state of the regular file open on `fd`, read to its end.
FileState readState(int fd, const struct stat& st) {
    FileState state;
    state.kind = FileState::Kind::File;
    state.modifiedSeconds = st.st_mtim.tv_sec;
    state.modifiedNanoseconds = st.st_mtim.tv_nsec;
    ContentHash hash;
    std::string piece(kReadPiece, '\0');
    while (true) {
        const ssize_t n = ::read(fd, piece.data(), piece.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return unreadable();
        }
        if (n == 0) {
            break;
        }
        hash.update(std::string_view(piece.data(), static_cast<size_t>(n)));
    }
    // The bytes read decide, also when the file grew or shrank while it was read.
    state.size = hash.size();
    state.hash = hash.digest();
    return state;
}

// Opens the file without waiting (a pipe there is not waited on) and checks that it is a regular one.
// -1 with `state` telling what stands there otherwise.
int openRegular(const std::string& path, struct stat& st, FileState& state) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        state = missing(errno) ? FileState{} : unreadable();
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        state = unreadable();
        return -1;
    }
    return fd;
}

}  // namespace

FileState TakeFileState(const std::string& path) {
    struct stat st {};
    FileState state;
    const int fd = openRegular(path, st, state);
    if (fd < 0) {
        return state;
    }
    state = readState(fd, st);
    ::close(fd);
    return state;
}

DiskChange CompareWithDisk(const FileState& remembered, const std::string& path) {
    struct stat st {};
    FileState now;
    const int fd = openRegular(path, st, now);
    if (fd < 0) {
        if (now.kind == FileState::Kind::Missing) {
            return remembered.kind == FileState::Kind::Missing ? DiskChange::Unchanged : DiskChange::Deleted;
        }
        return remembered.kind == FileState::Kind::Unreadable ? DiskChange::Unchanged : DiskChange::Changed;
    }
    if (!remembered.isFile() || static_cast<uint64_t>(st.st_size) != remembered.size) {
        ::close(fd);
        return DiskChange::Changed;
    }
    now = readState(fd, st);
    ::close(fd);
    return now.isFile() && now.size == remembered.size && now.hash == remembered.hash ? DiskChange::Unchanged
                                                                                      : DiskChange::Changed;
}

}  // namespace scorvane
