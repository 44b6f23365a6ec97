#include "common/file_io.h"

#include <fcntl.h>
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
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
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

// The temporary file's name: the target's name (cut short, at a character boundary, so that a target
// named as long as the file system allows still gets a sibling) and a random number.
std::string temporarySibling(const std::string& path) {
    static std::mt19937_64 generator{std::random_device{}()};
    constexpr size_t kKeptNameBytes = 64;
    fs::path target = fs::path(path);
    std::string kept = target.filename().string();
    if (kept.size() > kKeptNameBytes) {
        size_t cut = kKeptNameBytes;
        while (cut > 0 && (static_cast<unsigned char>(kept[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        kept.resize(cut);
    }
    std::string name = "." + kept + ".tmp" + std::to_string(generator() % 1000000000ULL);
    return (target.parent_path() / fs::path(name)).string();
}

bool fail(std::string* error, const std::string& what) {
    if (error) {
        *error = what + ": " + std::strerror(errno);
    }
    return false;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
    fs::path target = fs::path(path);
    if (target.filename().empty()) {
        errno = EINVAL;
        return fail(error, "no file name");
    }
    if (target.has_parent_path() && !MakeDirectories(target.parent_path().string())) {
        return fail(error, "cannot create folder");
    }
    // Keep the permissions of a file that is replaced.
    mode_t mode = 0666;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            errno = EISDIR;
            return fail(error, "target is a folder");
        }
        mode = st.st_mode & 07777;
    }
    std::string temp = temporarySibling(path);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        return fail(error, "cannot create file");
    }
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            int saved = errno;
            ::close(fd);
            ::unlink(temp.c_str());
            errno = saved;
            return fail(error, "cannot write file");
        }
        written += static_cast<size_t>(n);
    }
    bool synced = ::fdatasync(fd) == 0;
    int syncError = errno;
    bool closed = ::close(fd) == 0;
    if (!synced || !closed) {
        int saved = synced ? errno : syncError;
        ::unlink(temp.c_str());
        errno = saved;
        return fail(error, "cannot finish file");
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        int saved = errno;
        ::unlink(temp.c_str());
        errno = saved;
        return fail(error, "cannot replace file");
    }
    return true;
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
