#include "support/write_faults.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "common/file_io.h"

namespace scorvane::testing {
namespace {

WriteFault gFault = WriteFault::CreateTemporary;
int gFailures = 0;
int gWrites = 0;  // write calls of the current atomic write
size_t gChunk = 0;
int gChunkCalls = 0;

int failWith(int error) {
    ++gFailures;
    errno = error;
    return -1;
}

int faultyOpen(const char* path, int flags, mode_t mode) {
    gWrites = 0;
    if (gFault == WriteFault::CreateTemporary) {
        return failWith(EACCES);
    }
    return SystemWriteSteps().createTemporary(path, flags, mode);
}

ssize_t faultyWrite(int fd, const void* data, size_t size) {
    const int call = gWrites++;
    if (gFault == WriteFault::NoSpace) {
        return failWith(ENOSPC);
    }
    if (gFault == WriteFault::ShortWrite) {
        if (call == 0) {
            return ::write(fd, data, size / 2);
        }
        ++gFailures;
        return 0;
    }
    return ::write(fd, data, size);
}

int faultyFlush(int fd) {
    if (gFault == WriteFault::Flush) {
        return failWith(EIO);
    }
    return ::fdatasync(fd);
}

int faultyClose(int fd) {
    if (gFault == WriteFault::Close) {
        ::close(fd);
        return failWith(EIO);
    }
    return ::close(fd);
}

int faultyRename(const char* from, const char* to) {
    if (gFault == WriteFault::Rename) {
        return failWith(EIO);
    }
    return ::rename(from, to);
}

ssize_t chunkedWrite(int fd, const void* data, size_t size) {
    ++gChunkCalls;
    return ::write(fd, data, std::min(size, gChunk));
}

}  // namespace

std::string_view WriteFaultName(WriteFault fault) {
    switch (fault) {
        case WriteFault::CreateTemporary:
            return "create the temporary file";
        case WriteFault::ShortWrite:
            return "short write, then a full disk";
        case WriteFault::NoSpace:
            return "no space left";
        case WriteFault::Flush:
            return "flush to disk";
        case WriteFault::Close:
            return "close";
        case WriteFault::Rename:
            return "rename";
    }
    return "?";
}

ScopedWriteFault::ScopedWriteFault(WriteFault fault) {
    gFault = fault;
    gFailures = 0;
    WriteStepsInUse() = {faultyOpen, faultyWrite, faultyFlush, faultyClose, faultyRename};
}

ScopedWriteFault::~ScopedWriteFault() {
    WriteStepsInUse() = SystemWriteSteps();
}

int ScopedWriteFault::failures() const {
    return gFailures;
}

ScopedShortWrites::ScopedShortWrites(size_t chunk) {
    gChunk = chunk;
    gChunkCalls = 0;
    WriteStepsInUse().write = chunkedWrite;
}

ScopedShortWrites::~ScopedShortWrites() {
    WriteStepsInUse() = SystemWriteSteps();
}

int ScopedShortWrites::calls() const {
    return gChunkCalls;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace scorvane::testing
