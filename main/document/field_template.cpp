#include "main/document/field_template.h"

#include <algorithm>

#include "common/file_io.h"
#include "common/text_codec.h"
#include "common/utf8.h"

namespace scorvane {
namespace {

bool appendRecord(std::string& out, std::string_view utf8) {
    std::string text = EncodeGbk(utf8);
    if (text.size() > kTemplateTextLimit) {
        return false;
    }
    out.push_back(static_cast<char>(text.size() & 0xFF));
    out.push_back(static_cast<char>((text.size() >> 8) & 0xFF));
    out += text;
    out.append(kTemplateTextLimit - text.size(), '\0');
    return true;
}

// Record `number` (from 1) as UTF-8 text; false when it is not wholly inside the bytes.
bool readRecord(std::string_view bytes, size_t number, std::string& text) {
    const size_t start = (number - 1) * kTemplateRecordSize;
    if (start + 2 > bytes.size()) {
        return false;
    }
    const size_t length = static_cast<unsigned char>(bytes[start]) |
                          (static_cast<size_t>(static_cast<unsigned char>(bytes[start + 1])) << 8);
    if (length > kTemplateTextLimit || start + 2 + length > bytes.size()) {
        return false;
    }
    text = DecodeGbk(bytes.substr(start + 2, length));
    return true;
}

}  // namespace

std::string FieldTemplate::headerLayout() const {
    std::string layout = corner;
    for (const std::string& title : titles) {
        layout += '|';
        layout += title;
    }
    return layout;
}

std::optional<std::string> EncodeFieldTemplate(const FieldTemplate& fields) {
    std::string bytes;
    bytes.reserve((fields.titles.size() + 3) * kTemplateRecordSize);
    if (!appendRecord(bytes, kTemplateMagic) || !appendRecord(bytes, std::to_string(fields.columnCount())) ||
        !appendRecord(bytes, fields.corner)) {
        return std::nullopt;
    }
    for (const std::string& title : fields.titles) {
        if (!appendRecord(bytes, title)) {
            return std::nullopt;
        }
    }
    return bytes;
}

std::optional<FieldTemplate> DecodeFieldTemplate(std::string_view bytes) {
    std::string text;
    if (!readRecord(bytes, 1, text) || text != kTemplateMagic || !readRecord(bytes, 2, text)) {
        return std::nullopt;
    }
    long long count = 0;
    if (!ParseWholeNumber(TrimSpaces(text), 1, 32767, count)) {
        return std::nullopt;
    }
    // Every record the count promises must be in the file before anything is reserved for them.
    const size_t lastRecord = static_cast<size_t>(count) + 2;
    if ((lastRecord - 1) * kTemplateRecordSize + 2 > bytes.size()) {
        return std::nullopt;
    }
    FieldTemplate fields;
    if (!readRecord(bytes, 3, fields.corner)) {
        return std::nullopt;
    }
    fields.titles.reserve(static_cast<size_t>(count) - 1);
    for (size_t record = 4; record <= lastRecord; ++record) {
        if (!readRecord(bytes, record, fields.titles.emplace_back())) {
            return std::nullopt;
        }
    }
    return fields;
}

TemplateWriteResult WriteFieldTemplate(const std::string& path, const FieldTemplate& fields) {
    std::optional<std::string> bytes = EncodeFieldTemplate(fields);
    if (!bytes) {
        return TemplateWriteResult::TooLong;
    }
    if (std::optional<std::string> old = ReadWholeFile(path); old && old->size() > bytes->size()) {
        bytes->append(*old, bytes->size());
    }
    return WriteFileAtomically(path, *bytes) ? TemplateWriteResult::Written : TemplateWriteResult::Failed;
}

std::optional<FieldTemplate> ReadFieldTemplate(const std::string& path) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        return std::nullopt;
    }
    return DecodeFieldTemplate(*bytes);
}

std::vector<std::string> ListFieldTemplates(const std::string& folder) {
    if (!DirectoryExists(folder)) {
        MakeDirectories(folder);
        return {};
    }
    std::vector<std::string> names = FilesWithExtension(folder, kTemplateExtension);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace scorvane
