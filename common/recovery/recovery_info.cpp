#include "common/recovery/recovery_info.h"

#include <stdlib.h>

#include <array>
#include <ctime>
#include <memory>

#include "common/hex_digit.h"
#include "common/line_reader.h"
#include "common/percent_escape.h"
#include "common/text_codec.h"

namespace scorvane {
namespace {

constexpr std::array<std::string_view, 7> kKeys = {"Path",    "Title",    "Workspace", "Time",
                                                   "Session", "FileSize", "FileHash"};
constexpr size_t kFileKeys = 2;
constexpr int64_t kLatestTime = int64_t{1} << 53;

std::optional<int64_t> wholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 16) {
        return std::nullopt;
    }
    int64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        n = n * 10 + (c - '0');
    }
    return n <= kLatestTime ? std::optional<int64_t>(n) : std::nullopt;
}

bool soundSession(std::string_view s) {
    if (s.empty() || s.size() > 64) {
        return false;
    }
    for (char c : s) {
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum) {
            return false;
        }
    }
    return true;
}

// The folder as the system resolves it; empty when it does not exist.
std::string resolved(const std::string& path) {
    std::unique_ptr<char, decltype(&::free)> real(::realpath(path.c_str(), nullptr), &::free);
    return real ? std::string(real.get()) : std::string();
}

std::string withoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// The file's size and hash as the sidecar records them.
std::optional<uint64_t> fileSize(std::string_view text) {
    uint64_t n = 0;
    if (text.empty() || text.size() > 19) {
        return std::nullopt;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        n = n * 10 + static_cast<uint64_t>(c - '0');
    }
    return n;
}

std::optional<uint64_t> fileHash(std::string_view text) {
    uint64_t n = 0;
    if (text.size() != 16) {
        return std::nullopt;
    }
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        n = n << 4 | static_cast<uint64_t>(digit);
    }
    return n;
}

std::string hashText(uint64_t hash) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) {
        text[static_cast<size_t>(i)] = kDigits[hash & 0xF];
    }
    return text;
}

}  // namespace

std::string SerializeRecoveryInfo(const RecoveryInfo& info) {
    std::string text(kRecoveryInfoMagic);
    text += "\r\n";
    std::array<std::string, 7> values = {info.filePath, info.title, info.workspace, std::to_string(info.time),
                                         info.session};
    if (info.file) {
        values[5] = std::to_string(info.file->size);
        values[6] = hashText(info.file->hash);
    }
    const size_t keys = info.file ? kKeys.size() : kKeys.size() - kFileKeys;
    for (size_t i = 0; i < keys; ++i) {
        text += kKeys[i];
        text += '=';
        text += PercentEscape(values[i]);
        text += "\r\n";
    }
    return EncodeGbk(text);
}

std::optional<RecoveryInfo> ParseRecoveryInfo(std::string_view bytes) {
    const std::string text = DecodeGbk(bytes);
    LineReader lines(text);
    std::string_view line;
    if (!lines.next(line) || line != kRecoveryInfoMagic) {
        return std::nullopt;
    }
    std::array<std::optional<std::string>, 7> values;
    while (lines.next(line)) {
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            return std::nullopt;
        }
        std::optional<std::string> value = PercentUnescape(line.substr(eq + 1));
        if (!value) {
            return std::nullopt;
        }
        for (size_t i = 0; i < kKeys.size(); ++i) {
            if (line.substr(0, eq) == kKeys[i]) {
                if (values[i]) {
                    return std::nullopt;
                }
                values[i] = std::move(value);
            }
        }
    }
    RecoveryInfo info;
    info.filePath = values[0].value_or("");
    info.title = values[1].value_or("");
    info.workspace = values[2].value_or("");
    const std::optional<int64_t> time = values[3] ? wholeNumber(*values[3]) : std::nullopt;
    if (!time || !values[4] || !soundSession(*values[4])) {
        return std::nullopt;
    }
    info.time = *time;
    info.session = *values[4];
    const std::optional<uint64_t> size = values[5] ? fileSize(*values[5]) : std::nullopt;
    const std::optional<uint64_t> hash = values[6] ? fileHash(*values[6]) : std::nullopt;
    if (size && hash) {
        info.file = RecordedFile{*size, *hash};
    }
    return info;
}

bool SameFolder(const std::string& a, const std::string& b) {
    const std::string realA = resolved(a);
    const std::string realB = resolved(b);
    if (!realA.empty() && !realB.empty()) {
        return realA == realB;
    }
    return !a.empty() && withoutTrailingSeparators(a) == withoutTrailingSeparators(b);
}

std::string RecoveryTimeText(int64_t time, bool seconds) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    if (!::localtime_r(&t, &local)) {
        return std::string();
    }
    char text[32];
    const size_t n =
        std::strftime(text, sizeof text, seconds ? "%Y-%m-%d %H:%M:%S" : "%Y-%m-%d %H:%M", &local);
    return std::string(text, n);
}

std::optional<RecordedFile> RecordFile(const FileState& state) {
    if (!state.isFile()) {
        return std::nullopt;
    }
    return RecordedFile{state.size, state.hash};
}

FileState RecordedState(const std::optional<RecordedFile>& file) {
    FileState state;
    if (!file) {
        state.kind = FileState::Kind::Unknown;
        return state;
    }
    state.kind = FileState::Kind::File;
    state.size = file->size;
    state.hash = file->hash;
    return state;
}

}  // namespace scorvane
