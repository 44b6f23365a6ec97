#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scorvane {

// An INI file kept as its lines, with the rules of the system's private-profile routines: section and
// key names match without regard to case, blanks around names and values are ignored, a value is read
// whole (never cut), a missing key gives the caller's default, a new key is appended at the end of its
// section and a new section at the end of the file. Lines beginning with ";" are comments. The file is
// GBK text with CR LF line ends and is always rewritten whole, atomically.
class IniStore {
  public:
    IniStore() = default;
    static IniStore fromText(std::string_view utf8Text);

    // Reads the file; false (and an empty store) when it cannot be read.
    bool load(const std::string& path);
    bool save(const std::string& path) const;

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string value(std::string_view section, std::string_view key, std::string_view fallback) const;
    bool hasSection(std::string_view section) const;
    // The entries of the first section with that name, in file order: (key, value) with the blanks
    // around both removed; empty when the section is missing.
    std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;

    // A line break inside a value is stored as "[/]", so no value can break the file's lines.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    // Appends a line as it is (comment lines at the top of a new file).
    void appendLine(std::string_view line);

    // The whole file as UTF-8 text, CR LF after every line.
    std::string text() const;

  private:
    struct Line {
        std::string raw;
        enum Kind { Other, Section, Entry } kind = Other;
        std::string name;  // section or key name, trimmed
        size_t valueStart = 0;
    };
    static Line parse(std::string raw);
    // [begin, end) line range of the first section with that name; begin is the header line.
    bool findSection(std::string_view section, size_t& begin, size_t& end) const;

    std::vector<Line> lines_;
};

}  // namespace scorvane
