#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scorvane {

// What the sidecar of a recovery copy records about the document it holds: the copy itself is the
// document in its own file format, the sidecar says where it belongs.
struct RecoveryInfo {
    std::string filePath;   // the document's file (a table's path without ".skv"); empty for a new one
    std::string title;      // the window's title
    std::string workspace;  // the workspace folder the program worked on; empty for the designer
    int64_t time = 0;       // when the copy was written, seconds since 1970 (UTC)
    std::string session;    // the program that wrote it (see RecoverySession)

    bool operator==(const RecoveryInfo&) const = default;
};

// The sidecar is GBK text: the line "KVL'S Scorvane恢复副本", then one "Key=value" line for each of Path,
// Title, Workspace, Time and Session, CR LF after every line. In a value "%" is written "%25", CR "%0D"
// and LF "%0A", so that no value can break the lines and every value reads back exactly.
inline constexpr std::string_view kRecoveryInfoMagic = "KVL'S Scorvane恢复副本";

std::string SerializeRecoveryInfo(const RecoveryInfo& info);

// The sidecar's record, or nothing when the bytes are no sound sidecar: the magic missing, a line
// without "=", a "%" not followed by two hexadecimal digits, a key given twice, Time not a whole number
// from 0 to 2^53, or Session not 1 to 64 letters and digits. Keys it does not know are passed over.
std::optional<RecoveryInfo> ParseRecoveryInfo(std::string_view bytes);

// True when the two names lead to the same folder: compared as the system resolves them (links,
// "." and ".."), or, when one of them does not exist, as written, without trailing separators.
bool SameFolder(const std::string& a, const std::string& b);

// The time of a copy as the offer shows it, in local time: "2024-05-01 10:23", with `seconds`
// "2024-05-01 10:23:07".
std::string RecoveryTimeText(int64_t time, bool seconds = false);

}  // namespace scorvane
