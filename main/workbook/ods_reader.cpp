#include "main/workbook/ods_reader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "main/workbook/sheet_value_text.h"
#include "main/workbook/xml_stream.h"

namespace scorvane {
namespace {

// The three namespaces that matter; the XML is read without namespace processing (which costs expat
// half its time on a large sheet) and names are matched with the prefixes the document's root element
// declares for them.
constexpr std::string_view kTable = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr std::string_view kOffice = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr std::string_view kText = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

// The part of `name` after `prefix`, or null where it does not begin so. Names are told apart
// in place, for every element and attribute of a long sheet: no calls into the C library.
inline const char* after(const char* name, const std::string& prefix) {
    for (const char c : prefix) {
        if (*name++ != c) {
            return nullptr;
        }
    }
    return name;
}

// Whether `name` is `local` and nothing more.
inline bool equals(const char* name, std::string_view local) {
    for (const char c : local) {
        if (*name++ != c) {
            return false;
        }
    }
    return *name == '\0';
}

inline bool is(const char* name, const std::string& prefix, std::string_view local) {
    const char* rest = after(name, prefix);
    return rest && equals(rest, local);
}

// The attribute's value, or null.
const char* attribute(const char** a, const std::string& prefix, std::string_view local) {
    for (size_t i = 0; a[i]; i += 2) {
        if (is(a[i], prefix, local)) {
            return a[i + 1];
        }
    }
    return nullptr;
}

long repeatCount(const char* v) {
    if (!v || !*v) {
        return 1;
    }
    const long n = std::strtol(v, nullptr, 10);
    return n < 1 ? 1 : n;
}

long repeat(const char** a, const std::string& table, std::string_view local) {
    return repeatCount(attribute(a, table, local));
}

// The text of a number value: a plain whole number ("85") already is the shortest form.
std::string numberText(const char* v) {
    const std::string_view text(v);
    const size_t sign = !text.empty() && text[0] == '-' ? 1 : 0;
    const size_t digits = text.size() - sign;
    bool plain = digits > 0 && digits <= 15 && !(text[sign] == '0' && (digits > 1 || sign));
    for (size_t i = sign; plain && i < text.size(); ++i) {
        plain = text[i] >= '0' && text[i] <= '9';
    }
    if (plain) {
        return std::string(text);
    }
    char* end = nullptr;
    const double number = std::strtod(v, &end);
    return *v && end == v + text.size() ? SheetNumberText(number) : std::string(text);
}

struct Content : XmlEvents {
    const SheetChoice& choice;
    SheetGrid& grid;
    // Reads from a row of the chosen sheet on (the second of two halves): the first sheet it meets is
    // the chosen one, its name already in the first half's grid, its rows counted from that row.
    bool continuation = false;
    bool found = false;
    bool failed = false;

    int tableDepth = 0;    // depth inside table:table elements (sub-tables count too)
    bool reading = false;  // inside the chosen sheet
    int row = 0;           // the next row of the chosen sheet
    long rowRepeat = 1;
    bool rowHasCells = false;
    struct Cell {
        std::string value;  // from the value attributes
        std::string text;   // from the paragraphs
        int paragraphs = 0;
        bool covered = false;
        bool inParagraph = false;
        long repeat = 1;
        int annotation = 0;  // inside office:annotation: a comment, not the value
        void clear() {
            value.clear();
            text.clear();
            paragraphs = 0;
            covered = false;
            inParagraph = false;
            repeat = 1;
            annotation = 0;
        }
    };
    int col = 0;
    bool inCell = false;
    Cell cell;
    std::vector<std::pair<int, std::string>> rowCells;  // this row's cells, to lay down rowRepeat times

    std::string table_ = "table:";
    std::string office_ = "office:";
    std::string text_ = "text:";
    bool root = true;

    Content(const SheetChoice& c, SheetGrid& g) : choice(c), grid(g) {}

    // The elements that matter, told apart once per element.
    enum class Tag : uint8_t {
        Other,
        Table,
        Row,
        Cell,
        CoveredCell,
        Annotation,
        Paragraph,
        Space,
        Tab,
        LineBreak
    };
    // The open elements' kinds: an end tag is the kind its start tag was told to be.
    std::vector<Tag> open;
    Tag tagOf(const char* name) const {
        if (const char* local = after(name, table_)) {
            if (equals(local, "table-cell")) {
                return Tag::Cell;
            }
            if (equals(local, "table-row")) {
                return Tag::Row;
            }
            if (equals(local, "table")) {
                return Tag::Table;
            }
            if (equals(local, "covered-table-cell")) {
                return Tag::CoveredCell;
            }
        }
        if (const char* local = after(name, text_)) {
            if (equals(local, "p") || equals(local, "h")) {
                return Tag::Paragraph;
            }
            if (equals(local, "s")) {
                return Tag::Space;
            }
            if (equals(local, "tab")) {
                return Tag::Tab;
            }
            if (equals(local, "line-break")) {
                return Tag::LineBreak;
            }
        }
        if (is(name, office_, "annotation")) {
            return Tag::Annotation;
        }
        return Tag::Other;
    }

    // What a cell's start tag says, its attributes gone through once: the first of each name.
    struct CellAttributes {
        const char* repeat = nullptr;
        const char* type = nullptr;
        const char* value = nullptr;
        const char* date = nullptr;
        const char* time = nullptr;
        const char* boolean = nullptr;
        const char* string = nullptr;
    };
    CellAttributes cellAttributes(const char** a) const {
        CellAttributes c;
        auto take = [](const char*& slot, const char* v) {
            if (!slot) {
                slot = v;
            }
        };
        for (size_t i = 0; a[i]; i += 2) {
            if (const char* local = after(a[i], table_);
                local && *local == 'n' && equals(local, "number-columns-repeated")) {
                take(c.repeat, a[i + 1]);
            }
            const char* local = after(a[i], office_);
            if (!local) {
                continue;
            }
            switch (*local) {
                case 'v':
                    if (equals(local, "value-type")) {
                        take(c.type, a[i + 1]);
                    } else if (equals(local, "value")) {
                        take(c.value, a[i + 1]);
                    }
                    break;
                case 'd':
                    if (equals(local, "date-value")) {
                        take(c.date, a[i + 1]);
                    }
                    break;
                case 't':
                    if (equals(local, "time-value")) {
                        take(c.time, a[i + 1]);
                    }
                    break;
                case 'b':
                    if (equals(local, "boolean-value")) {
                        take(c.boolean, a[i + 1]);
                    }
                    break;
                case 's':
                    if (equals(local, "string-value")) {
                        take(c.string, a[i + 1]);
                    }
                    break;
                default:
                    break;
            }
        }
        return c;
    }

    void declarations(const char** a) {
        for (size_t i = 0; a[i]; i += 2) {
            const std::string_view n(a[i]);
            if (n.rfind("xmlns", 0) != 0) {
                continue;
            }
            const std::string prefix =
                n.size() > 6 && n[5] == ':' ? std::string(n.substr(6)) + ":" : std::string();
            const std::string_view uri(a[i + 1]);
            if (uri == kTable) {
                table_ = prefix;
            } else if (uri == kOffice) {
                office_ = prefix;
            } else if (uri == kText) {
                text_ = prefix;
            }
        }
    }

    bool start(const char* name, const char** a) override {
        if (root) {
            root = false;
            declarations(a);
        }
        const Tag tag = tagOf(name);
        open.push_back(tag);
        if (tag == Tag::Table) {
            ++tableDepth;
            if (tableDepth == 1 && continuation && !found) {
                found = true;
                reading = true;
                return true;
            }
            if (tableDepth == 1) {
                const char* n = attribute(a, table_, "name");
                const std::string sheetName = n ? n : "";
                grid.sheetNames.push_back(sheetName);
                if (grid.sheetNames.size() > 65536) {
                    return false;
                }
                const int index = static_cast<int>(grid.sheetNames.size()) - 1;
                reading = !found && (choice.name.empty() ? index == choice.index : sheetName == choice.name);
                if (reading) {
                    found = true;
                    grid.sheet = index;
                    row = 0;
                    rowsHere = table_ + "table-row";
                }
            }
            return true;
        }
        if (!reading || tableDepth != 1) {
            return true;
        }
        if (inCell) {
            if (tag == Tag::Annotation) {
                ++cell.annotation;
            } else if (cell.annotation == 0 && !cell.covered) {
                if (tag == Tag::Paragraph) {
                    if (cell.paragraphs++ > 0) {
                        cell.text += "\r\n";
                    }
                    cell.inParagraph = true;
                } else if (cell.inParagraph && tag == Tag::Space) {
                    const char* c = attribute(a, text_, "c");
                    const long n = !c || !*c ? 1 : std::strtol(c, nullptr, 10);
                    if (n < 0 || n > 65536) {
                        return false;
                    }
                    cell.text.append(static_cast<size_t>(n), ' ');
                } else if (cell.inParagraph && tag == Tag::Tab) {
                    cell.text += '\t';
                } else if (cell.inParagraph && tag == Tag::LineBreak) {
                    cell.text += "\r\n";
                }
            }
            return cell.text.size() < (1u << 24);
        }
        if (tag == Tag::Row) {
            if (choice.enough(grid.rows.size())) {
                grid.partial = true;
                finished = true;
                return false;
            }
            rowRepeat = repeat(a, table_, "number-rows-repeated");
            col = 0;
            rowCells.clear();
        } else if (tag == Tag::Cell || tag == Tag::CoveredCell) {
            inCell = true;
            cell.clear();
            cell.covered = tag == Tag::CoveredCell;
            const CellAttributes c = cellAttributes(a);
            cell.repeat = repeatCount(c.repeat);
            if (!cell.covered && c.type) {
                auto value = [](const char* v) { return v ? v : ""; };
                const char* type = c.type;
                if (equals(type, "float") || equals(type, "percentage") || equals(type, "currency")) {
                    cell.value = numberText(value(c.value));
                } else if (equals(type, "date")) {
                    cell.value = IsoDateText(value(c.date));
                } else if (equals(type, "time")) {
                    cell.value = IsoDurationText(value(c.time));
                } else if (equals(type, "boolean")) {
                    const std::string_view v = value(c.boolean);
                    cell.value = v == "true" || v == "1" ? "TRUE" : "FALSE";
                } else if (equals(type, "string")) {
                    cell.value = TableLineBreaks(value(c.string));
                }
            }
        }
        return true;
    }

    bool end(const char* name) override {
        Tag tag = Tag::Other;
        if (open.empty()) {
            tag = tagOf(name);
        } else {
            tag = open.back();
            open.pop_back();
        }
        if (tag == Tag::Table) {
            if (tableDepth == 1) {
                reading = false;
            }
            --tableDepth;
            return true;
        }
        if (!reading || tableDepth != 1) {
            return true;
        }
        if (inCell) {
            if (tag == Tag::Annotation) {
                --cell.annotation;
            } else if (tag == Tag::Paragraph) {
                cell.inParagraph = false;
            } else if (tag == Tag::Cell || tag == Tag::CoveredCell) {
                inCell = false;
                std::string& text = cell.covered ? cell.text : cell.value.empty() ? cell.text : cell.value;
                if (cell.covered) {
                    text.clear();
                }
                if (!text.empty()) {
                    // A value repeated across columns is laid down once per column.
                    if (col + cell.repeat > kMaxColumns || cell.repeat * rowRepeat > kMaxSheetCells) {
                        return false;
                    }
                    for (long i = 0; i + 1 < cell.repeat; ++i) {
                        rowCells.emplace_back(col + static_cast<int>(i), text);
                    }
                    rowCells.emplace_back(col + static_cast<int>(cell.repeat) - 1, std::move(text));
                }
                col = static_cast<int>(std::min<long>(col + cell.repeat, kMaxColumns));
            }
            return true;
        }
        if (tag == Tag::Row) {
            if (!rowCells.empty()) {
                if (row + rowRepeat > kMaxRows) {
                    return false;
                }
                for (long r = 0; r < rowRepeat; ++r) {
                    const bool last = r + 1 == rowRepeat;
                    for (auto& [c, text] : rowCells) {
                        if (!grid.set(row + static_cast<int>(r), c, last ? std::move(text) : text)) {
                            return false;
                        }
                    }
                }
            }
            row = static_cast<int>(std::min<long>(row + rowRepeat, kMaxRows + 1L));
        }
        return true;
    }

    bool text(std::string_view t) override {
        // The paragraphs count only where the cell holds no value of its own.
        if (reading && inCell && cell.inParagraph && cell.annotation == 0 && !cell.covered &&
            tableDepth == 1 && cell.value.empty()) {
            cell.text.append(t);
        }
        return true;
    }
};

// The chosen sheet's rows read on both cores at once, in a first part and pieces.
struct Halves : XmlHalves {
    struct Piece {
        SheetGrid rest;
        Content after;
        explicit Piece(const SheetChoice& c) : after(c, rest) { after.continuation = true; }
    };
    const SheetChoice& choice;
    SheetGrid& grid;
    std::optional<Content> whole;
    std::vector<std::unique_ptr<Piece>> pieces;

    Halves(const SheetChoice& c, SheetGrid& g) : choice(c), grid(g) { whole.emplace(c, g); }
    XmlEvents& first() override { return *whole; }
    XmlEvents& piece(size_t k) override {
        if (pieces.size() <= k) {
            pieces.resize(k + 1);
        }
        if (!pieces[k]) {
            pieces[k] = std::make_unique<Piece>(choice);
        }
        return pieces[k]->after;
    }
    bool join(size_t k) override {
        // A piece counts its rows from its start; one read would have refused a row past the last or
        // too many sheets.
        Piece& p = *pieces[k];
        const int64_t rows = int64_t{whole->row} + p.after.row;
        std::vector<std::string> names = std::move(p.rest.sheetNames);
        const bool partial = p.rest.partial;
        if (rows > kMaxRows || grid.sheetNames.size() + names.size() > 65536 ||
            !grid.append(std::move(p.rest), whole->row)) {
            return false;
        }
        whole->row = static_cast<int>(rows);
        grid.sheetNames.insert(grid.sheetNames.end(), names.begin(), names.end());
        grid.partial = grid.partial || partial;
        return true;
    }
    void restart() override {
        grid = SheetGrid();
        whole.emplace(choice, grid);
    }
};

}  // namespace

SheetError ReadOds(ZipArchive& archive, const SheetChoice& choice, SheetGrid& out) {
    const int64_t member = archive.find("content.xml");
    if (member < 0) {
        return SheetError::Format;
    }
    SheetGrid grid;
    Halves halves(choice, grid);
    const bool read = choice.rowLimit > 0 ? ParseXmlMember(archive, member, *halves.whole, false)
                                          : ParseXmlMemberInHalves(archive, member, halves);
    if (!read || grid.sheetNames.empty()) {
        return SheetError::Format;
    }
    if (!halves.whole->found) {
        out.sheetNames = grid.sheetNames;
        return SheetError::MissingSheet;
    }
    out = std::move(grid);
    return SheetError::None;
}

}  // namespace scorvane
