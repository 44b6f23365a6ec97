#pragma once

#include <cstdint>
#include <string>

namespace scorvane {

// What a program knows of a file it read or wrote, so that it can tell before writing whether someone
// else has changed the file meanwhile: another program on this computer or another one on a shared
// folder, or a backup put back.
struct FileState {
    enum class Kind {
        Missing,     // no file there
        File,        // a regular file, read whole
        Unreadable,  // something there that cannot be read as a file (no permission, a folder, a pipe)
        Unknown,     // nothing is known of what was there (a recovery copy that did not record it)
    };
    Kind kind = Kind::Missing;
    uint64_t size = 0;
    // The modification time, to the nanosecond where the file system keeps it.
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;
    uint64_t hash = 0;  // ContentHash of the bytes

    bool isFile() const { return kind == Kind::File; }
};

// The state of the file at `path` now (through symbolic links): it is read whole to hash its bytes.
FileState TakeFileState(const std::string& path);

enum class DiskChange {
    Unchanged,  // the same bytes as remembered (or still no file)
    Changed,    // other bytes, a file where there was none, or something that cannot be read
    Deleted,    // the file remembered is gone (its folder too, or a file stands in its folder's place)
};

// Compares the file at `path` with what was remembered of it. The bytes decide: the size first (no
// reading when it differs), then the hash. Modification times alone cannot, because shared folders
// keep them to a second or two, so that a second save within that time would pass unseen, and a
// file rewritten with the same bytes is no change for the reader. Something that could not be read
// and still cannot is taken as unchanged (nothing tells otherwise); when nothing is known of the file
// (Unknown), any file there counts as changed.
DiskChange CompareWithDisk(const FileState& remembered, const std::string& path);

}  // namespace scorvane
