#include "main/exchange/xlsx_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "common/utf8.h"
#include "main/exchange/sheet_value_text.h"
#include "main/exchange/xml_stream.h"

namespace scorvane {
namespace {

constexpr size_t kMaxSharedStrings = 2 * kMaxSheetCells;
constexpr int kMaxColumns = 16384;
constexpr int kMaxRows = 1048576;

// A part name from a relationship's target, relative to the folder of the part that names it.
std::string resolvePart(std::string_view folder, std::string_view target) {
    std::vector<std::string> parts;
    auto push = [&parts](std::string_view path) {
        size_t start = 0;
        while (start <= path.size()) {
            const size_t slash = std::min(path.find('/', start), path.size());
            const std::string_view piece = path.substr(start, slash - start);
            if (piece == "..") {
                if (!parts.empty()) {
                    parts.pop_back();
                }
            } else if (!piece.empty() && piece != ".") {
                parts.emplace_back(piece);
            }
            start = slash + 1;
        }
    };
    if (target.empty() || target[0] != '/') {
        push(folder);
    }
    push(target);
    std::string out;
    for (const std::string& p : parts) {
        out += (out.empty() ? "" : "/") + p;
    }
    return out;
}

std::string folderOf(std::string_view part) {
    const size_t slash = part.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash));
}

// "_x000D_" and the like: characters the format cannot hold as they are.
std::string decodeEscapes(std::string text) {
    if (text.find("_x") == std::string::npos) {
        return text;
    }
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
            char* end = nullptr;
            const std::string hex = text.substr(i + 2, 4);
            const unsigned long code = std::strtoul(hex.c_str(), &end, 16);
            if (end == hex.c_str() + 4 && std::isxdigit(static_cast<unsigned char>(hex[0]))) {
                if (code < 0x80) {
                    out += static_cast<char>(code);
                } else if (code < 0x800) {
                    out += static_cast<char>(0xC0 | (code >> 6));
                    out += static_cast<char>(0x80 | (code & 0x3F));
                } else {
                    out += static_cast<char>(0xE0 | (code >> 12));
                    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                    out += static_cast<char>(0x80 | (code & 0x3F));
                }
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// "BC12" as column 54 and row 11 (from 0); false for anything else.
bool readReference(std::string_view ref, int& row, int& col) {
    size_t i = 0;
    long long c = 0;
    while (i < ref.size() && ((ref[i] >= 'A' && ref[i] <= 'Z') || (ref[i] >= 'a' && ref[i] <= 'z'))) {
        c = c * 26 + ((ref[i] | 0x20) - 'a' + 1);
        if (c > kMaxColumns) {
            return false;
        }
        ++i;
    }
    long long r = 0;
    const size_t digits = i;
    while (i < ref.size() && ref[i] >= '0' && ref[i] <= '9') {
        r = r * 10 + (ref[i] - '0');
        if (r > kMaxRows) {
            return false;
        }
        ++i;
    }
    if (c == 0 || i == digits || i != ref.size() || r == 0) {
        return false;
    }
    row = static_cast<int>(r - 1);
    col = static_cast<int>(c - 1);
    return true;
}

// _rels/*.rels: relationship id to target, and the targets of the types asked for.
struct Relationships : XmlEvents {
    std::map<std::string, std::string> targets;
    std::map<std::string, std::string> byType;  // the type's last segment ("officeDocument") to target
    bool start(std::string_view name, const char** a) override {
        if (XmlLocalName(name) == "Relationship") {
            const char* id = XmlAttribute(a, "Id");
            const char* target = XmlAttribute(a, "Target");
            const char* type = XmlAttribute(a, "Type");
            if (target && id) {
                targets[id] = target;
            }
            if (target && type) {
                const std::string_view t(type);
                byType.emplace(std::string(t.substr(t.rfind('/') + 1)), target);
            }
        }
        return true;
    }
    bool end(std::string_view) override { return true; }
    bool text(std::string_view) override { return true; }
};

struct Workbook : XmlEvents {
    struct Sheet {
        std::string name;
        std::string relation;
    };
    std::vector<Sheet> sheets;
    bool date1904 = false;
    bool start(std::string_view name, const char** a) override {
        const std::string_view local = XmlLocalName(name);
        if (local == "sheet") {
            const char* n = XmlAttribute(a, "name");
            const char* id = XmlAttribute(a, "id");  // r:id
            sheets.push_back({n ? n : "", id ? id : ""});
            return sheets.size() <= 65536;
        }
        if (local == "workbookPr") {
            const char* d = XmlAttribute(a, "date1904");
            date1904 = d && (std::string_view(d) == "1" || std::string_view(d) == "true");
        }
        return true;
    }
    bool end(std::string_view) override { return true; }
    bool text(std::string_view) override { return true; }
};

struct Styles : XmlEvents {
    std::map<int, DateKind> customFormats;
    std::vector<int> xfFormats;
    int depthInCellXfs = 0;
    bool start(std::string_view name, const char** a) override {
        const std::string_view local = XmlLocalName(name);
        if (local == "numFmt") {
            const char* id = XmlAttribute(a, "numFmtId");
            const char* code = XmlAttribute(a, "formatCode");
            if (id && code) {
                customFormats[std::atoi(id)] = DateKindOfFormat(code);
            }
        } else if (local == "cellXfs") {
            depthInCellXfs = 1;
        } else if (local == "xf" && depthInCellXfs) {
            const char* id = XmlAttribute(a, "numFmtId");
            xfFormats.push_back(id ? std::atoi(id) : 0);
            return xfFormats.size() <= 1'000'000;
        }
        return true;
    }
    bool end(std::string_view name) override {
        if (XmlLocalName(name) == "cellXfs") {
            depthInCellXfs = 0;
        }
        return true;
    }
    bool text(std::string_view) override { return true; }

    std::vector<DateKind> dateKinds() const {
        std::vector<DateKind> kinds;
        kinds.reserve(xfFormats.size());
        for (int id : xfFormats) {
            const auto custom = customFormats.find(id);
            kinds.push_back(custom != customFormats.end() ? custom->second : DateKindOfBuiltinFormat(id));
        }
        return kinds;
    }
};

// The text of rich and plain strings (<t> in <si> or <is>, runs included, phonetic runs left out).
struct StringText {
    std::string text;
    bool inT = false;
    int phonetic = 0;
    void start(std::string_view local) {
        if (local == "rPh") {
            ++phonetic;
        } else if (local == "t" && phonetic == 0) {
            inT = true;
        }
    }
    void end(std::string_view local) {
        if (local == "rPh") {
            --phonetic;
        } else if (local == "t") {
            inT = false;
        }
    }
};

struct SharedStrings : XmlEvents {
    std::vector<std::string> strings;
    StringText current;
    bool inItem = false;
    bool start(std::string_view name, const char**) override {
        const std::string_view local = XmlLocalName(name);
        if (local == "si") {
            inItem = true;
            current = StringText();
        } else if (inItem) {
            current.start(local);
        }
        return true;
    }
    bool end(std::string_view name) override {
        const std::string_view local = XmlLocalName(name);
        if (local == "si") {
            inItem = false;
            strings.push_back(TableLineBreaks(decodeEscapes(std::move(current.text))));
            return strings.size() <= kMaxSharedStrings;
        }
        if (inItem) {
            current.end(local);
        }
        return true;
    }
    bool text(std::string_view t) override {
        if (inItem && current.inT) {
            current.text.append(t);
        }
        return true;
    }
};

struct SheetReader : XmlEvents {
    SheetGrid& grid;
    const std::vector<std::string>& strings;
    const std::vector<DateKind>& dateKinds;
    bool date1904;

    int row = -1;
    int col = -1;
    std::string type;
    int style = 0;
    bool inCell = false;
    bool inValue = false;
    bool inInline = false;
    std::string value;
    StringText inlineText;
    struct Range {
        int top, left, bottom, right;
    };
    std::vector<Range> merges;

    SheetReader(SheetGrid& g, const std::vector<std::string>& s, const std::vector<DateKind>& d, bool d1904)
        : grid(g), strings(s), dateKinds(d), date1904(d1904) {}

    bool start(std::string_view name, const char** a) override {
        const std::string_view local = XmlLocalName(name);
        if (inInline) {
            inlineText.start(local);
            return true;
        }
        if (local == "row") {
            const char* r = XmlAttribute(a, "r");
            const long n = r ? std::strtol(r, nullptr, 10) : row + 2;
            if (n < 1 || n > kMaxRows) {
                return false;
            }
            row = static_cast<int>(n - 1);
            col = -1;
        } else if (local == "c") {
            const char* ref = XmlAttribute(a, "r");
            int r = row < 0 ? 0 : row;
            int c = col + 1;
            if (ref && !readReference(ref, r, c)) {
                return false;
            }
            if (c >= kMaxColumns) {
                return false;
            }
            row = r;
            col = c;
            const char* t = XmlAttribute(a, "t");
            type = t ? t : "n";
            const char* s = XmlAttribute(a, "s");
            style = s ? std::atoi(s) : 0;
            inCell = true;
            value.clear();
            inlineText = StringText();
        } else if (inCell && local == "v") {
            inValue = true;
        } else if (inCell && local == "is") {
            inInline = true;
        } else if (local == "mergeCell") {
            const char* ref = XmlAttribute(a, "ref");
            const std::string_view range = ref ? ref : "";
            const size_t colon = range.find(':');
            Range m{};
            if (colon != std::string_view::npos && readReference(range.substr(0, colon), m.top, m.left) &&
                readReference(range.substr(colon + 1), m.bottom, m.right)) {
                merges.push_back(m);
            }
        }
        return true;
    }

    bool end(std::string_view name) override {
        const std::string_view local = XmlLocalName(name);
        if (inInline) {
            if (local == "is") {
                inInline = false;
            } else {
                inlineText.end(local);
            }
            return true;
        }
        if (local == "v") {
            inValue = false;
        } else if (local == "c" && inCell) {
            inCell = false;
            std::string t = cellText();
            return !failed && grid.set(row, col, std::move(t));
        }
        return true;
    }

    bool text(std::string_view t) override {
        if (inValue) {
            value.append(t);
        } else if (inInline && inlineText.inT) {
            inlineText.text.append(t);
        }
        return true;
    }

    bool failed = false;

    std::string cellText() {
        if (type == "inlineStr") {
            return TableLineBreaks(decodeEscapes(std::move(inlineText.text)));
        }
        if (value.empty()) {
            return {};
        }
        if (type == "s") {
            long long index = -1;
            if (!ParseWholeNumber(TrimSpaces(value), 0, static_cast<long long>(kMaxSharedStrings), index) ||
                index >= static_cast<long long>(strings.size())) {
                failed = true;
                return {};
            }
            return strings[static_cast<size_t>(index)];
        }
        if (type == "b") {
            return TrimSpaces(value) == "0" ? "FALSE" : "TRUE";
        }
        if (type == "d") {
            return IsoDateText(value);
        }
        if (type == "str" || type == "e") {
            return TableLineBreaks(decodeEscapes(std::move(value)));
        }
        char* end = nullptr;
        const std::string trimmed(TrimSpaces(value));
        const double number = std::strtod(trimmed.c_str(), &end);
        if (trimmed.empty() || end != trimmed.c_str() + trimmed.size()) {
            return trimmed;
        }
        const DateKind kind =
            style >= 0 && style < static_cast<int>(dateKinds.size()) ? dateKinds[static_cast<size_t>(style)] : DateKind::None;
        return kind == DateKind::None ? SheetNumberText(number) : SheetDateText(number, date1904, kind);
    }
};

bool parsePart(ZipArchive& archive, const std::string& part, XmlEvents& events, bool required) {
    const int64_t member = archive.find(part);
    if (member < 0) {
        return !required;
    }
    return ParseXmlMember(archive, member, events, false);
}

}  // namespace

SheetError ReadXlsx(ZipArchive& archive, const SheetChoice& choice, SheetGrid& out) {
    Relationships root;
    if (!parsePart(archive, "_rels/.rels", root, false)) {
        return SheetError::Format;
    }
    const auto office = root.byType.find("officeDocument");
    const std::string workbookPart =
        office != root.byType.end() ? resolvePart("", office->second) : std::string("xl/workbook.xml");
    const std::string folder = folderOf(workbookPart);

    Workbook workbook;
    if (!parsePart(archive, workbookPart, workbook, true) || workbook.sheets.empty()) {
        return SheetError::Format;
    }
    Relationships relations;
    if (!parsePart(archive, folder + (folder.empty() ? "" : "/") + "_rels/" +
                                workbookPart.substr(workbookPart.rfind('/') + 1) + ".rels",
                   relations, true)) {
        return SheetError::Format;
    }

    SheetGrid grid;
    for (const Workbook::Sheet& sheet : workbook.sheets) {
        grid.sheetNames.push_back(sheet.name);
    }
    int chosen = -1;
    if (!choice.name.empty()) {
        for (size_t i = 0; i < workbook.sheets.size() && chosen < 0; ++i) {
            if (workbook.sheets[i].name == choice.name) {
                chosen = static_cast<int>(i);
            }
        }
    } else if (choice.index >= 0 && choice.index < static_cast<int>(workbook.sheets.size())) {
        chosen = choice.index;
    }
    if (chosen < 0) {
        out.sheetNames = grid.sheetNames;
        return SheetError::MissingSheet;
    }
    grid.sheet = chosen;
    const auto target = relations.targets.find(workbook.sheets[static_cast<size_t>(chosen)].relation);
    if (target == relations.targets.end()) {
        return SheetError::Format;
    }
    const std::string sheetPart = resolvePart(folder, target->second);

    Styles styles;
    if (const auto s = relations.byType.find("styles");
        s != relations.byType.end() && !parsePart(archive, resolvePart(folder, s->second), styles, false)) {
        return SheetError::Format;
    }
    SharedStrings shared;
    if (const auto s = relations.byType.find("sharedStrings");
        s != relations.byType.end() && !parsePart(archive, resolvePart(folder, s->second), shared, false)) {
        return SheetError::Format;
    }
    const std::vector<DateKind> dateKinds = styles.dateKinds();
    SheetReader reader(grid, shared.strings, dateKinds, workbook.date1904);
    if (!parsePart(archive, sheetPart, reader, true) || reader.failed) {
        return SheetError::Format;
    }
    for (const SheetReader::Range& m : reader.merges) {
        if (!grid.clearMerged(m.top, m.left, m.bottom, m.right)) {
            return SheetError::Format;
        }
    }
    out = std::move(grid);
    return SheetError::None;
}

}  // namespace scorvane
