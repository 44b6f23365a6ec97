#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/file_state.h"

namespace scorvane {

// The document's file as the window last read or wrote it: its size and the hash of its bytes
// (FileState), so that the restored window knows whether others have saved the file since.
struct RecordedFile {
    uint64_t size = 0;
    uint64_t hash = 0;
    bool operator==(const RecordedFile&) const = default;
};

// What the sidecar of a recovery copy records about the document it holds: the copy itself is the
// document in its own file format, the sidecar says where it belongs.
struct RecoveryInfo {
    std::string filePath;   // the document's file (a table's path without ".skv"); empty for a new one
    std::string title;      // the window's title
    std::string workspace;  // the workspace folder the program worked on; empty for the designer
    int64_t time = 0;       // when the copy was written, seconds since 1970 (UTC)
    std::string session;    // the program that wrote it (see RecoverySession)
    // The document's file as the window had it; nothing when it had no file read or written, or for a
    // copy of a program that did not record it.
    std::optional<RecordedFile> file{};

    bool operator==(const RecoveryInfo&) const = default;
};

// The sidecar is GBK text: the line "KVL'S Scorvane恢复副本", then one "Key=value" line for each of Path,
// Title, Workspace, Time and Session, and, when the file is recorded, FileSize (decimal) and FileHash
// (16 hexadecimal digits), CR LF after every line. In a value "%" is written "%25", CR "%0D" and LF
// "%0A", so that no value can break the lines and every value reads back exactly.
inline constexpr std::string_view kRecoveryInfoMagic = "KVL'S Scorvane恢复副本";

std::string SerializeRecoveryInfo(const RecoveryInfo& info);

// The sidecar's record, or nothing when the bytes are no sound sidecar: the magic missing, a line
// without "=", a "%" not followed by two hexadecimal digits, a key given twice, Time not a whole number
// from 0 to 2^53, or Session not 1 to 64 letters and digits. Keys it does not know are passed over. A
// file recorded in part or in a form not understood is taken as not recorded (the copy stays sound).
std::optional<RecoveryInfo> ParseRecoveryInfo(std::string_view bytes);

// True when the two names lead to the same folder: compared as the system resolves them (links,
// "." and ".."), or, when one of them does not exist, as written, without trailing separators.
bool SameFolder(const std::string& a, const std::string& b);

// The time of a copy as the offer shows it, in local time: "2024-05-01 10:23", with `seconds`
// "2024-05-01 10:23:07".
std::string RecoveryTimeText(int64_t time, bool seconds = false);

// The file as a window remembers it (FileState) and as a sidecar records it: only a file read whole is
// recorded, and a record that is missing gives a state of which nothing is known (FileState::Unknown),
// so that whatever stands there counts as changed.
std::optional<RecordedFile> RecordFile(const FileState& state);
FileState RecordedState(const std::optional<RecordedFile>& file);

}  // namespace scorvane
