#include "common/file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "common/utf8.h"

namespace scorvane {
namespace fs = std::filesystem;

std::optional<std::string> ReadWholeFile(const std::string& path) {
    // Opened without waiting, so that a pipe standing where a file is expected is refused rather than
    // waited on for ever; only a regular file is read.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    // Room for the look past the end too, so that a large file is not copied when the end is found.
    bytes.reserve(static_cast<size_t>(st.st_size) + 65536);
    bytes.resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (true) {
        if (got == bytes.size()) {
            bytes.resize(bytes.size() + 65536);  // the file grew while being read
        }
        ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    return bytes;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(fs::path(path), ec);
}

bool DirectoryExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(fs::path(path), ec);
}

bool MakeDirectories(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code ec;
    fs::create_directories(fs::path(path), ec);
    return fs::is_directory(fs::path(path), ec);
}

bool RemoveFile(const std::string& path) {
    std::error_code ec;
    return fs::remove(fs::path(path), ec);
}

namespace {

constexpr std::string_view kTemporaryMark = ".tmp";

// The temporary file's name without its number: the target's name (cut short, at a character
// boundary, so that a target named as long as the file system allows still gets a sibling) between a
// dot and ".tmp".
std::string temporaryPrefix(const fs::path& target) {
    constexpr size_t kKeptNameBytes = 64;
    std::string kept = target.filename().string();
    if (kept.size() > kKeptNameBytes) {
        size_t cut = kKeptNameBytes;
        while (cut > 0 && (static_cast<unsigned char>(kept[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        kept.resize(cut);
    }
    return "." + kept + std::string(kTemporaryMark);
}

// Each name is drawn from the system's randomness, not from a generator kept in the process: processes
// forked from one another would draw the same names, and the temporary files of a few killed writers
// would then stand in the way of every later save.
std::string temporarySibling(const fs::path& target) {
    std::random_device system;
    const uint64_t number = (static_cast<uint64_t>(system()) << 32) ^ system();
    std::string name = temporaryPrefix(target) + std::to_string(number % 1000000000ULL);
    return (target.parent_path() / fs::path(name)).string();
}

// The file a path names: the path itself, or, when it is a symbolic link, the file the link points
// to (through any chain of links), so that writing replaces that file and keeps the link.
fs::path linkTarget(const std::string& path) {
    fs::path resolved(path);
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(resolved.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            break;
        }
        std::error_code ec;
        fs::path next = fs::read_symlink(resolved, ec);
        if (ec) {
            break;
        }
        resolved = next.is_absolute() ? next : resolved.parent_path() / next;
    }
    return resolved;
}

// Removes the temporary files of `target` that no living writer holds: a writer keeps a lock on its
// temporary file from creating it to renaming it, and the system drops the lock when it is killed.
void removeAbandonedTemporaries(const fs::path& target) {
    const std::string prefix = temporaryPrefix(target);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        return;
    }
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            name.find_first_not_of("0123456789", prefix.size()) != std::string::npos) {
            continue;
        }
        int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) {
            continue;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(entry.path().c_str());
        }
        ::close(fd);
    }
}

// Makes a finished rename last through a power cut as well; a failure here changes nothing that a
// reader could see, so it is not reported.
void flushFolder(const fs::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

int systemOpen(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

}  // namespace

AtomicWriteSteps SystemWriteSteps() {
    return {systemOpen, ::write, ::fdatasync, ::close, ::rename};
}

AtomicWriteSteps& WriteStepsInUse() {
    static AtomicWriteSteps steps = SystemWriteSteps();
    return steps;
}

AtomicFileWriter::AtomicFileWriter(const std::string& path, bool ownerOnly) {
    const AtomicWriteSteps& step = WriteStepsInUse();
    target_ = linkTarget(path).string();
    const fs::path target(target_);
    if (target.filename().empty() || target.filename() == "." || target.filename() == "..") {
        errno = EISDIR;
        failWith("no file name");
        return;
    }
    if (target.has_parent_path() && !MakeDirectories(target.parent_path().string())) {
        failWith("cannot create folder");
        return;
    }
    // Keep the permissions of a file that is replaced.
    mode_t mode = 0666;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            errno = EISDIR;
            failWith("target is a folder");
            return;
        }
        // A file its owner made read-only is not replaced behind the owner's back, although the
        // folder would allow the rename.
        if (::access(target.c_str(), W_OK) != 0) {
            failWith("file is read-only");
            return;
        }
        mode = st.st_mode & 07777;
    }
    if (ownerOnly) {
        mode = 0600;
    }
    for (int attempt = 0; attempt < 8 && fd_ < 0; ++attempt) {
        temp_ = temporarySibling(target);
        fd_ = step.createTemporary(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd_ < 0 && errno != EEXIST) {
            break;  // another name would not help
        }
    }
    if (fd_ < 0) {
        temp_.clear();
        failWith("cannot create file");
        return;
    }
    ::flock(fd_, LOCK_EX | LOCK_NB);  // marks the file as in use; see removeAbandonedTemporaries
    if (ownerOnly) {
        ::fchmod(fd_, 0600);  // the mode mask may have taken the owner's bits away
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!committed_) {
        const int saved = errno;
        if (fd_ >= 0) {
            WriteStepsInUse().close(fd_);
        }
        if (!temp_.empty()) {
            ::unlink(temp_.c_str());
        }
        errno = saved;
    }
}

void AtomicFileWriter::failWith(const char* what) {
    error_ = std::string(what) + ": " + std::strerror(errno);
}

void AtomicFileWriter::abandon(const char* what) {
    const int saved = errno;
    if (fd_ >= 0) {
        WriteStepsInUse().close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    errno = saved;
    failWith(what);
}

bool AtomicFileWriter::write(std::string_view bytes) {
    if (!ok()) {
        return false;
    }
    const AtomicWriteSteps& step = WriteStepsInUse();
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = step.write(fd_, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = ENOSPC;  // a write that makes no progress would never end
            }
            abandon("cannot write file");
            return false;
        }
        written += static_cast<size_t>(n);
    }
    hash_.update(bytes);
    return true;
}

bool AtomicFileWriter::commit(std::string* error) {
    auto failed = [&] {
        if (error) {
            *error = error_;
        }
        return false;
    };
    if (!ok()) {
        return failed();
    }
    const AtomicWriteSteps& step = WriteStepsInUse();
    if (step.flush(fd_) != 0) {
        abandon("cannot flush file");
        return failed();
    }
    struct stat st {};
    const bool stated = ::fstat(fd_, &st) == 0;
    const int closing = fd_;
    fd_ = -1;
    if (step.close(closing) != 0) {
        abandon("cannot close file");
        return failed();
    }
    if (step.rename(temp_.c_str(), target_.c_str()) != 0) {
        abandon("cannot replace file");
        return failed();
    }
    committed_ = true;
    written_.kind = FileState::Kind::File;
    written_.size = hash_.size();
    written_.hash = hash_.digest();
    written_.modifiedSeconds = stated ? st.st_mtim.tv_sec : 0;
    written_.modifiedNanoseconds = stated ? st.st_mtim.tv_nsec : 0;
    const fs::path target(target_);
    flushFolder(target.parent_path());
    removeAbandonedTemporaries(target);
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error,
                         FileState* written) {
    AtomicFileWriter writer(path);
    writer.write(bytes);
    if (!writer.commit(error)) {
        return false;
    }
    if (written) {
        *written = writer.written();
    }
    return true;
}

bool WritePrivateFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
    AtomicFileWriter writer(path, true);
    writer.write(bytes);
    return writer.commit(error);
}

bool MakePrivateDirectory(const std::string& path) {
    const fs::path folder(path);
    if (path.empty() || (folder.has_parent_path() && !MakeDirectories(folder.parent_path().string()))) {
        return false;
    }
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
        return false;
    }
    return (st.st_mode & 07777) == 0700 || ::chmod(path.c_str(), 0700) == 0;
}

void RemoveAbandonedTemporaries(const std::string& path) {
    removeAbandonedTemporaries(fs::path(path));
}

std::vector<std::string> FilesWithExtension(const std::string& folder, std::string_view extension) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), ec);
    if (ec) {
        return names;
    }
    for (const auto& entry : it) {
        std::string name = entry.path().filename().string();
        if (name.size() > extension.size() &&
            EqualsIgnoreCaseAscii(std::string_view(name).substr(name.size() - extension.size()), extension) &&
            entry.is_regular_file(ec)) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

}  // namespace scorvane
