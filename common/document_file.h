#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/file_lock.h"
#include "common/file_state.h"
#include "common/lock_identity.h"

namespace scorvane {

// What the status bar says when a file opens without a lock because its folder allows no new files.
inline constexpr std::string_view kLockNotCreatedNote =
    "未能在文件所在的文件夹中创建锁定文件，其他人打开这个文件时不会得到提示。";

// What an open document knows of the file it edits in a folder that others may share: the file (its
// whole name), the lock it holds beside it, the file's state when the document last read or wrote it,
// and whether it was opened read-only. The documents of both programs keep one; their commands use it,
// the windows show readOnly() and note(). Destroying it removes the lock. A copy (of a document copied
// for a command's own use) knows the file but holds no lock: only the document of the window does.
class DocumentFile {
  public:
    DocumentFile() = default;
    DocumentFile(DocumentFile&&) = default;
    DocumentFile& operator=(DocumentFile&&) = default;
    DocumentFile(const DocumentFile& other);
    DocumentFile& operator=(const DocumentFile& other);

    // The identity locks are taken with: this program's, unless a test sets another.
    const LockIdentity& identity() const;
    void setIdentity(LockIdentity identity) { identity_ = std::move(identity); }

    // The file, or "" while the document has none of its own.
    const std::string& path() const { return path_; }
    // Whether `file` is the document's file, under this name or another that leads to it (SameFile).
    bool claims(const std::string& file) const;
    bool readOnly() const { return readOnly_; }
    const FileState& state() const { return state_; }
    bool holdsLock() const { return lock_.held(); }
    // A note for the status bar: why no lock stands beside the file; "" when nothing to say.
    const std::string& note() const { return note_; }

    // The document has read `path`: the state taken before reading, the lock taken for it (none when
    // read-only or when another program holds it), and whether it is read-only.
    void opened(std::string path, const FileState& state, FileLock lock, bool readOnly, std::string note);
    // The document has written its own file.
    void written(const FileState& state) { state_ = state; }
    // The document has written `path` and makes it its file: the lock moves there (taken when it can
    // be, the old one removed) and the document is no longer read-only. Also the first save of a
    // document to a file of its own, and a save to its own file when it holds no lock (it opened where
    // none could be made, or beside another's): the lock is taken then. Its own file under another name
    // keeps the name it has.
    void movedTo(std::string path, const FileState& state);
    // The document lets go of its file: the lock is removed.
    void release();

  private:
    std::optional<LockIdentity> identity_;
    std::string path_;
    FileState state_;
    FileLock lock_;
    bool readOnly_ = false;
    std::string note_;
};

// A window caption with "（只读）" after it for a read-only document.
std::string ReadOnlyCaption(std::string_view caption, const DocumentFile& file);

}  // namespace scorvane
