#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/content_hash.h"
#include "common/file_state.h"

namespace scorvane {

// Whole-file helpers. Paths are UTF-8 and use the platform separator.

// The file's bytes, or nullopt when it cannot be read (missing, a folder, no permission).
std::optional<std::string> ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);  // a regular file (or a link to one)
bool DirectoryExists(const std::string& path);

// Creates the folder and every missing folder above it; true when it exists afterwards.
bool MakeDirectories(const std::string& path);

// Writes the bytes to `path` through a temporary file in the same folder that is flushed to disk and
// renamed over the target, so a failed, interrupted or killed write leaves the old file whole: the
// target is always either the old file or the new one. Missing folders are created; a replaced file
// keeps its permissions, and a file the user may not write (read-only) is not replaced; a target that is a
// symbolic link is written through (the file it points to is replaced, the link stays). On failure the
// temporary file is removed and `error` (when given) says why. Temporary files of the same target left behind
// by a killed writer are removed after the next successful write (a writer holds a lock on its temporary file
// while it lives).
// `written`, when given, receives the state of the file as written (FileState), taken from the bytes
// themselves, not read back, so that a write by someone else just after this one is not taken for it.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                         FileState* written = nullptr);

// The same write in pieces, for files made as they are written: the temporary file is created at once,
// write() adds bytes to it, commit() flushes it and renames it over the target. A writer destroyed
// before a successful commit, or after any failed step, removes its temporary file and leaves the
// target as it was.
class AtomicFileWriter {
  public:
    // `ownerOnly`: the file gets exactly 0600, new or replaced (see WritePrivateFileAtomically).
    explicit AtomicFileWriter(const std::string& path, bool ownerOnly = false);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool ok() const { return error_.empty(); }
    // False once any step has failed.
    bool write(std::string_view bytes);
    // Writes a piece of a file made piece by piece and empties it for the next one.
    bool writePiece(std::string& piece) {
        const bool written = write(piece);
        piece.clear();
        return written;
    }
    // True when the target now holds the bytes written; on failure `error` (when given) says why.
    bool commit(std::string* error = nullptr);
    // The temporary file, for a library that writes a file by its name: what it has written there when
    // commit() is called is what replaces the target.
    const std::string& temporaryPath() const { return temp_; }
    // After a successful commit: the state of the file as written (size and hash of the bytes given to
    // write(), the modification time the temporary file had when it was renamed).
    const FileState& written() const { return written_; }

  private:
    void failWith(const char* what);
    void abandon(const char* what);

    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool committed_ = false;
    std::string error_;
    ContentHash hash_;
    FileState written_;
};

// The same for a file that only its owner may read and write: new or replaced, it has the permissions
// 0600 (whatever the file had before and whatever the process's file mode mask says).
bool WritePrivateFileAtomically(const std::string& path, std::string_view bytes,
                                std::string* error = nullptr);

// Creates the folder (and the folders above it) for what only its owner may see: the folder itself is
// made, or set, 0700. False when it cannot be made, is not a folder (a symbolic link included) or
// belongs to another user.
bool MakePrivateDirectory(const std::string& path);

// Removes the temporary files that writers of `path` killed halfway left beside it (the next write of
// the same file does this too).
void RemoveAbandonedTemporaries(const std::string& path);

// The system calls of an atomic write, one per step, so that tests can make each step fail in turn
// (see tests/support/write_faults.h). They behave as the system's own: -1 and errno on failure.
struct AtomicWriteSteps {
    int (*createTemporary)(const char* path, int flags, mode_t mode);  // open(2)
    ssize_t (*write)(int fd, const void* data, size_t size);           // write(2)
    int (*flush)(int fd);                                              // fdatasync(2)
    int (*close)(int fd);                                              // close(2)
    int (*rename)(const char* from, const char* to);                   // rename(2)
};
// The system's own steps.
AtomicWriteSteps SystemWriteSteps();
// The steps every atomic write uses: the system's unless a test has replaced them (and puts them back).
AtomicWriteSteps& WriteStepsInUse();

bool RemoveFile(const std::string& path);

// The names of the regular files in the folder whose names are longer than `extension` and end in it
// in any letter case ("成绩.SKV" for ".skv"), in no particular order; none when the folder cannot be read.
std::vector<std::string> FilesWithExtension(const std::string& folder, std::string_view extension);

}  // namespace scorvane
