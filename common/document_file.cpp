#include "common/document_file.h"

#include "common/same_file.h"

namespace scorvane {

DocumentFile::DocumentFile(const DocumentFile& other)
    : identity_(other.identity_), path_(other.path_), state_(other.state_), readOnly_(other.readOnly_) {}

DocumentFile& DocumentFile::operator=(const DocumentFile& other) {
    if (this != &other) {
        lock_.release();
        identity_ = other.identity_;
        path_ = other.path_;
        state_ = other.state_;
        readOnly_ = other.readOnly_;
        note_.clear();
    }
    return *this;
}

const LockIdentity& DocumentFile::identity() const {
    if (identity_) {
        return *identity_;
    }
    static const LockIdentity thisProgram = LockIdentity::ThisProgram();
    return thisProgram;
}

void DocumentFile::opened(std::string path, const FileState& state, FileLock lock, bool readOnly,
                          std::string note) {
    lock_ = std::move(lock);
    path_ = std::move(path);
    state_ = state;
    readOnly_ = readOnly;
    note_ = std::move(note);
}

bool DocumentFile::claims(const std::string& file) const {
    return !path_.empty() && SameFile(path_, file);
}

void DocumentFile::movedTo(std::string path, const FileState& state) {
    if (claims(path)) {
        path = path_;
    }
    if (path != path_ || !lock_.held()) {
        lock_.release();
        LockAttempt attempt = TakeLock(path, identity());
        lock_ = std::move(attempt.lock);
        note_ = attempt.result == LockAttempt::Result::NotCreated ? std::string(kLockNotCreatedNote) : "";
    }
    path_ = std::move(path);
    state_ = state;
    readOnly_ = false;
}

void DocumentFile::release() {
    lock_.release();
    path_.clear();
    state_ = FileState{};
    readOnly_ = false;
    note_.clear();
}

std::string ReadOnlyCaption(std::string_view caption, const DocumentFile& file) {
    std::string text(caption);
    if (file.readOnly()) {
        text += "（只读）";
    }
    return text;
}

}  // namespace scorvane
