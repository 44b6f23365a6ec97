#include "main/exchange/ods_reader.h"

#include <cstdlib>
#include <string>

#include "main/exchange/sheet_value_text.h"
#include "main/exchange/xml_stream.h"

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

bool is(std::string_view name, std::string_view ns, std::string_view local) {
    return name.size() == ns.size() + local.size() && name.substr(0, ns.size()) == ns &&
           name.substr(ns.size()) == local;
}

std::string attribute(const char** a, std::string_view ns, std::string_view local) {
    for (size_t i = 0; a[i]; i += 2) {
        if (is(a[i], ns, local)) {
            return a[i + 1];
        }
    }
    return {};
}

long repeat(const char** a, std::string_view table, std::string_view local) {
    const std::string v = attribute(a, table, local);
    if (v.empty()) {
        return 1;
    }
    const long n = std::strtol(v.c_str(), nullptr, 10);
    return n < 1 ? 1 : n;
}

struct Content : XmlEvents {
    const SheetChoice& choice;
    SheetGrid& grid;
    bool found = false;
    bool failed = false;

    int tableDepth = 0;     // depth inside table:table elements (sub-tables count too)
    bool reading = false;   // inside the chosen sheet
    int row = 0;            // the next row of the chosen sheet
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

    void declarations(const char** a) {
        for (size_t i = 0; a[i]; i += 2) {
            const std::string_view n(a[i]);
            if (n.rfind("xmlns", 0) != 0) {
                continue;
            }
            const std::string prefix = n.size() > 6 && n[5] == ':' ? std::string(n.substr(6)) + ":" : std::string();
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

    bool start(std::string_view name, const char** a) override {
        if (root) {
            root = false;
            declarations(a);
        }
        if (is(name, table_, "table")) {
            ++tableDepth;
            if (tableDepth == 1) {
                const std::string sheetName = attribute(a, table_, "name");
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
                }
            }
            return true;
        }
        if (!reading || tableDepth != 1) {
            return true;
        }
        if (inCell) {
            if (is(name, office_, "annotation")) {
                ++cell.annotation;
            } else if (cell.annotation == 0 && !cell.covered) {
                if (is(name, text_, "p") || is(name, text_, "h")) {
                    if (cell.paragraphs++ > 0) {
                        cell.text += "\r\n";
                    }
                    cell.inParagraph = true;
                } else if (cell.inParagraph && is(name, text_, "s")) {
                    const std::string c = attribute(a, text_, "c");
                    const long n = c.empty() ? 1 : std::strtol(c.c_str(), nullptr, 10);
                    if (n < 0 || n > 65536) {
                        return false;
                    }
                    cell.text.append(static_cast<size_t>(n), ' ');
                } else if (cell.inParagraph && is(name, text_, "tab")) {
                    cell.text += '\t';
                } else if (cell.inParagraph && is(name, text_, "line-break")) {
                    cell.text += "\r\n";
                }
            }
            return cell.text.size() < (1u << 24);
        }
        if (is(name, table_, "table-row")) {
            rowRepeat = repeat(a, table_, "number-rows-repeated");
            col = 0;
            rowCells.clear();
        } else if (is(name, table_, "table-cell") || is(name, table_, "covered-table-cell")) {
            inCell = true;
            cell = Cell();
            cell.covered = is(name, table_, "covered-table-cell");
            cell.repeat = repeat(a, table_, "number-columns-repeated");
            if (!cell.covered) {
                const std::string type = attribute(a, office_, "value-type");
                if (type == "float" || type == "percentage" || type == "currency") {
                    const std::string v = attribute(a, office_, "value");
                    char* end = nullptr;
                    const double number = std::strtod(v.c_str(), &end);
                    cell.value = !v.empty() && end == v.c_str() + v.size() ? SheetNumberText(number) : v;
                } else if (type == "date") {
                    cell.value = IsoDateText(attribute(a, office_, "date-value"));
                } else if (type == "time") {
                    cell.value = IsoDurationText(attribute(a, office_, "time-value"));
                } else if (type == "boolean") {
                    const std::string v = attribute(a, office_, "boolean-value");
                    cell.value = v == "true" || v == "1" ? "TRUE" : "FALSE";
                } else if (type == "string") {
                    cell.value = TableLineBreaks(attribute(a, office_, "string-value"));
                }
            }
        }
        return true;
    }

    bool end(std::string_view name) override {
        if (is(name, table_, "table")) {
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
            if (is(name, office_, "annotation")) {
                --cell.annotation;
            } else if (is(name, text_, "p") || is(name, text_, "h")) {
                cell.inParagraph = false;
            } else if (is(name, table_, "table-cell") || is(name, table_, "covered-table-cell")) {
                inCell = false;
                std::string text = cell.covered ? std::string() : cell.value.empty() ? cell.text : cell.value;
                if (!text.empty()) {
                    // A value repeated across columns is laid down once per column.
                    if (col + cell.repeat > kMaxColumns || cell.repeat * rowRepeat > kMaxSheetCells) {
                        return false;
                    }
                    for (long i = 0; i < cell.repeat; ++i) {
                        rowCells.emplace_back(col + static_cast<int>(i), text);
                    }
                }
                col = static_cast<int>(std::min<long>(col + cell.repeat, kMaxColumns));
            }
            return true;
        }
        if (is(name, table_, "table-row")) {
            if (!rowCells.empty()) {
                if (row + rowRepeat > kMaxRows) {
                    return false;
                }
                for (long r = 0; r < rowRepeat; ++r) {
                    for (auto& [c, text] : rowCells) {
                        if (!grid.set(row + static_cast<int>(r), c, text)) {
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
        if (reading && inCell && cell.inParagraph && cell.annotation == 0 && !cell.covered && tableDepth == 1) {
            cell.text.append(t);
        }
        return true;
    }
};

}  // namespace

SheetError ReadOds(ZipArchive& archive, const SheetChoice& choice, SheetGrid& out) {
    const int64_t member = archive.find("content.xml");
    if (member < 0) {
        return SheetError::Format;
    }
    SheetGrid grid;
    Content content(choice, grid);
    if (!ParseXmlMember(archive, member, content, false) || grid.sheetNames.empty()) {
        return SheetError::Format;
    }
    if (!content.found) {
        out.sheetNames = grid.sheetNames;
        return SheetError::MissingSheet;
    }
    out = std::move(grid);
    return SheetError::None;
}

}  // namespace scorvane
