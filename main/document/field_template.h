#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scorvane {

// A field template (".templet" in the template folder): a record file of 128-byte records, each one
// string stored as a 16-bit little-endian byte count followed by that many bytes of GBK text, the rest
// of the record filler. Record 1 is the magic, record 2 the column count N of the table it was taken
// from (fields + 1), record 3 the corner segment of the header layout string, records 4 .. N + 2 the
// field titles.

inline constexpr std::string_view kTemplateMagic = "KVL'S 表格模版文件";
inline constexpr std::string_view kTemplateExtension = ".templet";
inline constexpr size_t kTemplateRecordSize = 128;
// The longest text a record holds, in GBK bytes.
inline constexpr size_t kTemplateTextLimit = kTemplateRecordSize - 2;

struct FieldTemplate {
    std::string corner = "  ";
    std::vector<std::string> titles;
    bool operator==(const FieldTemplate&) const = default;

    int columnCount() const { return static_cast<int>(titles.size()) + 1; }
    // The corner, then "|" and each title.
    std::string headerLayout() const;
};

// The records of a template, each padded to 128 bytes; nullopt when a text does not fit its record.
std::optional<std::string> EncodeFieldTemplate(const FieldTemplate& fields);

// Reads a template's bytes: nullopt unless record 1 is the magic, record 2 a column count from 1 to
// 32767, and every record up to N + 2 present and well-formed. Anything after record N + 2 is ignored.
std::optional<FieldTemplate> DecodeFieldTemplate(std::string_view bytes);

enum class TemplateWriteResult { Written, TooLong, Failed };

// Writes the template to `path` atomically. An existing file is overwritten record by record: records
// beyond the new ones stay as they were. TooLong (and nothing written) when a text does not fit.
TemplateWriteResult WriteFieldTemplate(const std::string& path, const FieldTemplate& fields);

// The template in `path`; nullopt when it cannot be read or is not a template.
std::optional<FieldTemplate> ReadFieldTemplate(const std::string& path);

// The file names (with ".templet") of the templates in `folder`, in name order. A missing folder is
// created and has none.
std::vector<std::string> ListFieldTemplates(const std::string& folder);

}  // namespace scorvane
