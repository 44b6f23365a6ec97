#pragma once

#include <string>
#include <string_view>

namespace scorvane {

class IniStore;

// The small helpers shared by the windows of the main program. Paths use "/".

// The value of `key` in `section` of the INI file, read whole: a missing file, section or key gives
// "Default", an empty value gives "".
std::string ReadIniValue(const std::string& file, std::string_view section, std::string_view key);
// The same over a file already read, for callers that read many keys.
std::string ReadIniValue(const IniStore& ini, std::string_view section, std::string_view key);

// The path up to and including its last "/", case kept; "" when the path holds no "/".
std::string DirectoryOfPath(std::string_view path);

// The part of the path after its last "/"; the whole path when there is none.
std::string FileNameOfPath(std::string_view path);

// The text itself when it has at most 22 characters, else its first 8 characters, "..." and its
// last 8 characters.
std::string ShortenForDisplay(std::string_view text);

// True when the text holds none of / \ * : ? < > | and the double quote.
bool IsValidFileName(std::string_view text);

// A school, grade or class name becomes a folder name under the data folder: besides what
// IsValidFileName refuses, "." and ".." (also with blanks around them, which the school file drops)
// would leave the folder of their level, so they are refused too.
bool IsValidFolderName(std::string_view text);

// The longest name of a file or folder the file system takes, in bytes (of the name's UTF-8 form).
inline constexpr size_t kMaxNameBytes = 255;
// True when `name` followed by `extension` fits in one file or folder name, with room for the
// A name of 200 Chinese characters (600 bytes) does not fit.
bool FitsFileSystemName(std::string_view name, std::string_view extension = {});

// Removes leading and trailing spaces and tabs: the blanks that the INI store drops around a value.
std::string_view TrimBlanks(std::string_view text);

// The message for a school, grade or class name that cannot be a folder name.
inline constexpr std::string_view kIllegalNameMessage = "名称中包含了诸如“\\/*?”之类的非法字符，请重新输入。";
// The messages for a school, grade or class name, and for a file name (of a table or a template), too
// long to be a folder's or a file's name.
inline constexpr std::string_view kNameTooLongMessage = "名称过长，无法作为文件夹名称，请重新输入。";
inline constexpr std::string_view kFileNameTooLongMessage = "文件名过长，请重新输入。";
// The message for a file name (of a table or a template) with characters a file name cannot hold.
inline constexpr std::string_view kIllegalFileNameMessage =
    "文件名中包含了诸如“\\/*?”之类的非法字符，请重新输入。";

}  // namespace scorvane
