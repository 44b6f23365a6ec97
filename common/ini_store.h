#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/file_state.h"

namespace scorvane {

// A value as a line of an INI file holds it: every line break (CR LF, CR or LF) becomes "[/]".
std::string FlattenLineBreaks(std::string_view value);

// An INI file kept as its lines, with the rules of the system's private-profile routines: section and
// key names match without regard to case, blanks around names and values are ignored, a value is read
// whole (never cut), a missing key gives the caller's default, a new key is appended at the end of its
// section and a new section at the end of the file. Lines beginning with ";" are comments. The file is
// GBK text with CR LF line ends and is always rewritten whole, atomically.
//
// Lookups go through an index of the sections and keys, made on the first lookup after a change, so
// that reading every key of a file costs time in proportion to the file, not to its square. (The
// index is a cache kept by const lookups: a store is used by one thread at a time.)
class IniStore {
  public:
    IniStore() = default;
    static IniStore fromText(std::string_view utf8Text);

    // Reads the file; false (and an empty store) when it cannot be read.
    bool load(const std::string& path);
    // Writes the file atomically (GBK, CR LF); `written`, when given, receives its state as written.
    bool save(const std::string& path, FileState* written = nullptr) const;

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
    // Append a section's header, or an entry to the last section, without looking for an existing one:
    // for writers that lay out a new file in order, each section and each key once. (setValue looks
    // through the file for every key, which makes writing thousands of keys slow.)
    void appendSection(std::string_view section);
    void appendEntry(std::string_view key, std::string_view value);

    // The whole file as UTF-8 text, CR LF after every line.
    std::string text() const;
    size_t lineCount() const { return lines_.size(); }

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

    struct SectionIndex {
        size_t begin = 0;
        size_t end = 0;
        std::unordered_map<std::string, size_t> keys;  // lower-case key -> its first entry line
    };
    using Index = std::unordered_map<std::string, SectionIndex>;  // lower-case name -> first section
    const Index& index() const;
    const SectionIndex* indexedSection(std::string_view section) const;

    std::vector<Line> lines_;
    mutable std::optional<Index> index_;
};

}  // namespace scorvane
