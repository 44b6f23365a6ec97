#include "main/workbook/xlsx_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/utf8.h"
#include "main/workbook/sheet_value_text.h"
#include "main/workbook/xml_stream.h"

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
    bool start(const char* name, const char** a) override {
        if (XmlLocalNameIs(name, "Relationship")) {
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
    bool end(const char*) override { return true; }
    bool text(std::string_view) override { return true; }
};

struct Workbook : XmlEvents {
    struct Sheet {
        std::string name;
        std::string relation;
    };
    std::vector<Sheet> sheets;
    bool date1904 = false;
    bool start(const char* name, const char** a) override {
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
    bool end(const char*) override { return true; }
    bool text(std::string_view) override { return true; }
};

struct Styles : XmlEvents {
    std::map<int, DateKind> customFormats;
    std::vector<int> xfFormats;
    int depthInCellXfs = 0;
    bool start(const char* name, const char** a) override {
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
    bool end(const char* name) override {
        if (XmlLocalNameIs(name, "cellXfs")) {
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
    void clear() {
        text.clear();
        inT = false;
        phonetic = 0;
    }
    void start(const char* local) {
        if (XmlNameIs(local, {}, "rPh")) {
            ++phonetic;
        } else if (XmlNameIs(local, {}, "t") && phonetic == 0) {
            inT = true;
        }
    }
    void end(const char* local) {
        if (XmlNameIs(local, {}, "rPh")) {
            --phonetic;
        } else if (XmlNameIs(local, {}, "t")) {
            inT = false;
        }
    }
};

// The shared strings one after the other in one buffer: a workbook's strings are mostly short, and a
// string object apiece would cost several times their text.
struct SharedStrings : XmlEvents {
    std::string texts;
    std::vector<size_t> ends;  // where each string ends in `texts`
    StringText current;
    bool inItem = false;

    size_t size() const { return ends.size(); }
    std::string_view operator[](size_t i) const {
        const size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(texts).substr(begin, ends[i] - begin);
    }

    bool start(const char* name, const char**) override {
        const char* local = XmlLocalName(name);
        if (XmlNameIs(local, {}, "si")) {
            inItem = true;
            current.clear();
        } else if (inItem) {
            current.start(local);
        }
        return true;
    }
    bool end(const char* name) override {
        const char* local = XmlLocalName(name);
        if (XmlNameIs(local, {}, "si")) {
            inItem = false;
            texts += TableLineBreaks(decodeEscapes(std::move(current.text)));
            current.text = std::string();
            ends.push_back(texts.size());
            return ends.size() <= kMaxSharedStrings;
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

// A plain whole number as the sheet stores it ("85", "-3", "2024000001"): its text is already the
// shortest form SheetNumberText would give (no sign on zero, no leading zeros, at most 15 digits).
bool isPlainWholeNumber(std::string_view v) {
    const size_t sign = !v.empty() && v[0] == '-' ? 1 : 0;
    const size_t digits = v.size() - sign;
    if (digits == 0 || digits > 15 || (v[sign] == '0' && (digits > 1 || sign))) {
        return false;
    }
    for (size_t i = sign; i < v.size(); ++i) {
        if (v[i] < '0' || v[i] > '9') {
            return false;
        }
    }
    return true;
}

struct SheetReader : XmlEvents {
    enum class Type { Number, Shared, Inline, Boolean, Date, Text, Error };

    SheetGrid& grid;
    const SharedStrings& strings;
    const std::vector<DateKind>& dateKinds;
    bool date1904;
    const SheetChoice& choice;  // its row limit and stop
    // Reads from a row of the sheet's data on (the second of two halves): that row must give its
    // number, the rows before it unknown here.
    bool continuation = false;

    int row = -1;
    int col = -1;
    Type type = Type::Number;
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

    SheetReader(SheetGrid& g, const SharedStrings& s, const std::vector<DateKind>& d, bool d1904,
                const SheetChoice& c)
        : grid(g), strings(s), dateKinds(d), date1904(d1904), choice(c) {}

    static Type typeOf(const char* t) {
        if (!t) {
            return Type::Number;
        }
        const std::string_view v(t);
        return v == "s"           ? Type::Shared
               : v == "inlineStr" ? Type::Inline
               : v == "b"         ? Type::Boolean
               : v == "d"         ? Type::Date
               : v == "str"       ? Type::Text
               : v == "e"         ? Type::Error
                                  : Type::Number;
    }

    bool start(const char* name, const char** a) override {
        const char* local = XmlLocalName(name);
        if (inInline) {
            inlineText.start(local);
            return true;
        }
        if (local[0] == 'c' && local[1] == '\0') {
            // The cell's reference, type and style, in one pass over its attributes.
            const char* ref = nullptr;
            const char* t = nullptr;
            const char* s = nullptr;
            for (size_t i = 0; a[i]; i += 2) {
                const char* n = XmlLocalName(a[i]);
                if (n[0] != '\0' && n[1] == '\0') {
                    if (n[0] == 'r') {
                        ref = ref ? ref : a[i + 1];
                    } else if (n[0] == 't') {
                        t = t ? t : a[i + 1];
                    } else if (n[0] == 's') {
                        s = s ? s : a[i + 1];
                    }
                }
            }
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
            type = typeOf(t);
            style = s ? std::atoi(s) : 0;
            inCell = true;
            value.clear();
            inlineText.clear();
        } else if (inCell && local[0] == 'v' && local[1] == '\0') {
            inValue = true;
        } else if (XmlNameIs(local, {}, "row")) {
            const char* r = XmlAttribute(a, "r");
            if (continuation && row < 0 && !r) {
                return false;
            }
            const long n = r ? std::strtol(r, nullptr, 10) : row + 2;
            if (n < 1 || n > kMaxRows) {
                return false;
            }
            if (choice.enough(grid.rows.size()) && (grid.rows.empty() || n - 1 > grid.rows.back().index)) {
                grid.partial = true;
                finished = true;
                return false;
            }
            row = static_cast<int>(n - 1);
            col = -1;
        } else if (XmlNameIs(local, {}, "sheetData")) {
            rowsHere = std::string(name, static_cast<size_t>(local - name)) + "row";
        } else if (inCell && XmlNameIs(local, {}, "is")) {
            inInline = true;
        } else if (XmlNameIs(local, {}, "mergeCell")) {
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

    bool end(const char* name) override {
        const char* local = XmlLocalName(name);
        if (inInline) {
            if (XmlNameIs(local, {}, "is")) {
                inInline = false;
            } else {
                inlineText.end(local);
            }
            return true;
        }
        if (local[0] == 'v' && local[1] == '\0') {
            inValue = false;
        } else if (local[0] == 'c' && local[1] == '\0' && inCell) {
            inCell = false;
            return cellText() && grid.set(row, col, std::move(cell));
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

    std::string cell;  // the text of the cell just read

    // The text of the cell just read into `cell`; false for a shared string that is not there.
    bool cellText() {
        cell.clear();
        if (type == Type::Inline) {
            cell = TableLineBreaks(decodeEscapes(std::move(inlineText.text)));
            return true;
        }
        if (value.empty()) {
            return true;
        }
        switch (type) {
            case Type::Shared: {
                long long index = -1;
                if (!ParseWholeNumber(TrimSpaces(value), 0, static_cast<long long>(kMaxSharedStrings),
                                      index) ||
                    index >= static_cast<long long>(strings.size())) {
                    return false;
                }
                cell = strings[static_cast<size_t>(index)];
                return true;
            }
            case Type::Boolean:
                cell = TrimSpaces(value) == "0" ? "FALSE" : "TRUE";
                return true;
            case Type::Date:
                cell = IsoDateText(value);
                return true;
            case Type::Text:
            case Type::Error:
                cell = TableLineBreaks(decodeEscapes(std::move(value)));
                return true;
            default:
                break;
        }
        const DateKind kind = style >= 0 && style < static_cast<int>(dateKinds.size())
                                  ? dateKinds[static_cast<size_t>(style)]
                                  : DateKind::None;
        const std::string_view trimmed = TrimSpaces(value);
        if (kind == DateKind::None && isPlainWholeNumber(trimmed)) {
            cell = trimmed;
            return true;
        }
        char* end = nullptr;
        const std::string number(trimmed);
        const double n = std::strtod(number.c_str(), &end);
        if (number.empty() || end != number.c_str() + number.size()) {
            cell = number;
        } else {
            cell = kind == DateKind::None ? SheetNumberText(n) : SheetDateText(n, date1904, kind);
        }
        return true;
    }
};

// The sheet's rows read on both cores at once, in a first part and pieces.
struct Halves : XmlHalves {
    struct Piece {
        SheetGrid rest;
        SheetReader after;
        Piece(const SharedStrings& s, const std::vector<DateKind>& d, bool d1904, const SheetChoice& c)
            : after(rest, s, d, d1904, c) {
            after.continuation = true;
        }
    };
    SheetGrid& grid;
    const SharedStrings& strings;
    const std::vector<DateKind>& dateKinds;
    bool date1904;
    const SheetChoice& choice;
    std::optional<SheetReader> whole;
    std::vector<std::unique_ptr<Piece>> pieces;

    Halves(SheetGrid& g, const SharedStrings& s, const std::vector<DateKind>& d, bool d1904,
           const SheetChoice& c)
        : grid(g), strings(s), dateKinds(d), date1904(d1904), choice(c) {
        whole.emplace(g, s, d, d1904, c);
    }
    XmlEvents& first() override { return *whole; }
    XmlEvents& piece(size_t k) override {
        if (pieces.size() <= k) {
            pieces.resize(k + 1);
        }
        if (!pieces[k]) {
            pieces[k] = std::make_unique<Piece>(strings, dateKinds, date1904, choice);
        }
        return pieces[k]->after;
    }
    bool join(size_t k) override {
        Piece& p = *pieces[k];
        const bool partial = p.rest.partial;
        if (!grid.append(std::move(p.rest), 0)) {
            return false;
        }
        grid.partial = grid.partial || partial;
        whole->merges.insert(whole->merges.end(), p.after.merges.begin(), p.after.merges.end());
        return true;
    }
    void restart() override {
        std::vector<std::string> names = std::move(grid.sheetNames);
        const int sheet = grid.sheet;
        grid = SheetGrid();
        grid.sheetNames = std::move(names);
        grid.sheet = sheet;
        whole.emplace(grid, strings, dateKinds, date1904, choice);
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
    if (!parsePart(archive,
                   folder + (folder.empty() ? "" : "/") + "_rels/" +
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
    Halves halves(grid, shared, dateKinds, workbook.date1904, choice);
    const int64_t member = archive.find(sheetPart);
    if (member < 0 || !(choice.rowLimit > 0 ? ParseXmlMember(archive, member, *halves.whole, false)
                                            : ParseXmlMemberInHalves(archive, member, halves))) {
        return SheetError::Format;
    }
    for (const SheetReader::Range& m : halves.whole->merges) {
        if (!grid.clearMerged(m.top, m.left, m.bottom, m.right)) {
            return SheetError::Format;
        }
    }
    out = std::move(grid);
    return SheetError::None;
}

}  // namespace scorvane
