#include "main/workspace/utilities.h"

#include "common/ini_store.h"
#include "common/utf8.h"

namespace scorvane {
namespace {

constexpr std::string_view kMissingValue = "Default";
constexpr size_t kShortLength = 22;
constexpr size_t kKeptEnds = 8;

}  // namespace

std::string ReadIniValue(const std::string& file, std::string_view section, std::string_view key) {
    IniStore ini;
    if (!ini.load(file)) {
        return std::string(kMissingValue);
    }
    return ReadIniValue(ini, section, key);
}

std::string ReadIniValue(const IniStore& ini, std::string_view section, std::string_view key) {
    return ini.value(section, key, kMissingValue);
}

std::string DirectoryOfPath(std::string_view path) {
    size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return std::string();
    }
    return std::string(path.substr(0, slash + 1));
}

std::string FileNameOfPath(std::string_view path) {
    size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return std::string(path);
    }
    return std::string(path.substr(slash + 1));
}

std::string ShortenForDisplay(std::string_view text) {
    if (Utf8Length(text) <= kShortLength) {
        return std::string(text);
    }
    std::string shortened(Utf8Left(text, kKeptEnds));
    shortened += "...";
    shortened += Utf8Right(text, kKeptEnds);
    return shortened;
}

bool IsValidFileName(std::string_view text) {
    return text.find_first_of("/\\*:?<>|\"") == std::string_view::npos;
}

std::string_view TrimBlanks(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) {
        ++begin;
    }
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) {
        --end;
    }
    return text.substr(begin, end - begin);
}

bool FitsFileSystemName(std::string_view name, std::string_view extension) {
    return name.size() + extension.size() <= kMaxNameBytes;
}

bool IsValidFolderName(std::string_view text) {
    std::string_view trimmed = TrimBlanks(text);
    return IsValidFileName(text) && trimmed != "." && trimmed != "..";
}

}  // namespace scorvane
