#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scorvane {

// Whole-file helpers. Paths are UTF-8 and use the platform separator.

// The file's bytes, or nullopt when it cannot be read (missing, a folder, no permission).
std::optional<std::string> ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);  // a regular file (or a link to one)
bool DirectoryExists(const std::string& path);

// Creates the folder and every missing folder above it; true when it exists afterwards.
bool MakeDirectories(const std::string& path);

// Writes the bytes to `path` through a temporary file in the same folder that is renamed over the
// target, so an interrupted or failed write leaves the old file whole. Missing folders are created.
// On failure the temporary file is removed and `error` (when given) says why.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error = nullptr);

bool RemoveFile(const std::string& path);

// The names of the regular files in the folder whose names are longer than `extension` and end in it
// in any letter case ("成绩.SKV" for ".skv"), in no particular order; none when the folder cannot be read.
std::vector<std::string> FilesWithExtension(const std::string& folder, std::string_view extension);

}  // namespace scorvane
