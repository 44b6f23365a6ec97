#include "main/workbook/xls_reader.h"

#include <freexl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "common/file_io.h"
#include "common/text_codec.h"
#include "main/workbook/sheet_value_text.h"
#include "main/workbook/xls_compound_file.h"

namespace scorvane {
namespace {

// FreeXL reads the whole workbook, every sheet's declared dimensions allocated at once, and passes over
// the stored results of formulas, booleans and errors. So the workbook stream is first walked here:
// its declared sizes are checked before FreeXL sees the file, and those cells are taken from it.
constexpr int64_t kMaxWorkbookCells = 4 * kMaxSheetCells;

uint16_t u16(std::string_view b, size_t at) {
    uint16_t v = 0;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}

uint32_t u32(std::string_view b, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

std::string errorText(uint8_t code) {
    switch (code) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x24:
            return "#NUM!";
        default:
            return "#N/A";
    }
}

// A string of a STRING record: BIFF8's length, flags and UTF-16 or compressed characters; BIFF5's
// length and bytes in the workbook's code page (taken as GBK).
std::string biffString(std::string_view data, bool biff8) {
    if (data.size() < 2) {
        return {};
    }
    const size_t count = u16(data, 0);
    if (!biff8) {
        return DecodeGbk(data.substr(2, count));
    }
    if (data.size() < 3) {
        return {};
    }
    const bool wide = (static_cast<uint8_t>(data[2]) & 1) != 0;
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        uint32_t c = 0;
        if (wide) {
            if (3 + 2 * i + 2 > data.size()) {
                break;
            }
            c = u16(data, 3 + 2 * i);
        } else {
            if (3 + i >= data.size()) {
                break;
            }
            c = static_cast<uint8_t>(data[3 + i]);
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;  // surrogate halves are not joined here
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

struct Scan {
    bool ok = false;
    bool biff8 = true;
    bool date1904 = false;
    std::vector<uint32_t> sheetOffsets;  // the worksheets, in order
    std::map<int, DateKind> formats;     // custom number formats
    std::vector<int> xfFormats;          // number format of each cell style
    // The chosen sheet's cells FreeXL leaves out, by row and column (see sortExtra).
    // The cells FreeXL passes over, by row and column; their texts one after the other in `extraText`.
    struct Extra {
        std::pair<int, int> at;
        uint32_t offset = 0;
        uint32_t length = 0;
    };
    std::vector<Extra> extra;
    std::string extraText;

    void setExtra(std::pair<int, int> at, std::string_view text) {
        extra.push_back({at, static_cast<uint32_t>(extraText.size()), static_cast<uint32_t>(text.size())});
        extraText.append(text);
    }
    std::string_view extraAt(const Extra& e) const {
        return std::string_view(extraText).substr(e.offset, e.length);
    }
    // In row and column order, the last given of a cell standing.
    void sortExtra() {
        const auto before = [](const Extra& a, const Extra& b) { return a.at < b.at; };
        if (!std::is_sorted(extra.begin(), extra.end(), before)) {
            std::stable_sort(extra.begin(), extra.end(), before);
        }
        size_t kept = 0;
        for (size_t i = 0; i < extra.size(); ++i) {
            if (kept > 0 && extra[kept - 1].at == extra[i].at) {
                extra[kept - 1] = extra[i];
            } else {
                extra[kept++] = extra[i];
            }
        }
        extra.resize(kept);
    }

    DateKind kindOf(int xf) const {
        if (xf < 0 || xf >= static_cast<int>(xfFormats.size())) {
            return DateKind::None;
        }
        const int id = xfFormats[static_cast<size_t>(xf)];
        const auto custom = formats.find(id);
        return custom != formats.end() ? custom->second : DateKindOfBuiltinFormat(id);
    }
};

// Calls `record(type, data)` for every record from `at` to the end of its substream (its EOF).
template <typename Record>
bool walk(std::string_view stream, size_t at, Record record) {
    while (at + 4 <= stream.size()) {
        const uint16_t type = u16(stream, at);
        const uint16_t length = u16(stream, at + 2);
        if (at + 4 + length > stream.size()) {
            return false;
        }
        const std::string_view data = stream.substr(at + 4, length);
        if (!record(type, data)) {
            return false;
        }
        at += 4 + length;
        if (type == 0x000A) {
            return true;
        }
    }
    return false;
}

Scan scanWorkbook(std::string_view stream, int chosen) {
    Scan scan;
    if (stream.size() < 8 || (u16(stream, 0) != 0x0809 && u16(stream, 0) != 0x0409)) {
        return scan;
    }
    scan.biff8 = u16(stream, 4) == 0x0600;
    // The globals end with their own end record before any sheet begins: FreeXL, given a workbook whose
    // globals run on into a sheet, answers "opened" without a workbook and loses what it allocated.
    int begins = 0;
    const bool globals = walk(stream, 0, [&scan, &begins](uint16_t type, std::string_view d) {
        if ((type == 0x0809 || type == 0x0409) && ++begins > 1) {
            return false;
        }
        if (type == 0x0022 && d.size() >= 2) {
            scan.date1904 = u16(d, 0) == 1;
        } else if (type == 0x0085 && d.size() >= 6) {
            if (static_cast<uint8_t>(d[5]) == 0) {  // worksheets, not charts or macro sheets
                scan.sheetOffsets.push_back(u32(d, 0));
            }
        } else if (type == 0x041E && d.size() >= 2) {
            scan.formats[u16(d, 0)] = DateKindOfFormat(biffString(d.substr(2), scan.biff8));
        } else if (type == 0x00E0 && d.size() >= 4) {
            scan.xfFormats.push_back(u16(d, 2));
        }
        return scan.xfFormats.size() <= 65536;
    });
    if (!globals) {
        return scan;
    }
    int64_t cells = 0;
    for (size_t i = 0; i < scan.sheetOffsets.size(); ++i) {
        const bool reading = static_cast<int>(i) == chosen;
        std::pair<int, int> pendingString{-1, -1};
        const bool sheet = walk(stream, scan.sheetOffsets[i], [&](uint16_t type, std::string_view d) {
            if (type == 0x0200) {
                const int64_t rows = scan.biff8 && d.size() >= 14
                                         ? static_cast<int64_t>(u32(d, 4)) - u32(d, 0)
                                     : d.size() >= 10 ? int64_t{u16(d, 2)} - u16(d, 0)
                                                      : 0;
                const int64_t cols = scan.biff8 && d.size() >= 14 ? int64_t{u16(d, 10)} - u16(d, 8)
                                     : d.size() >= 10             ? int64_t{u16(d, 6)} - u16(d, 4)
                                                                  : 0;
                const int64_t declared = std::max<int64_t>(rows, 0) * std::max<int64_t>(cols, 0);
                cells += declared;
                return declared <= kMaxSheetCells && cells <= kMaxWorkbookCells;
            }
            if (!reading || d.size() < 6) {
                if (reading && type == 0x0207 && pendingString.first >= 0) {
                    scan.setExtra(pendingString, TableLineBreaks(biffString(d, scan.biff8)));
                    pendingString = {-1, -1};
                }
                return true;
            }
            const std::pair<int, int> at{u16(d, 0), u16(d, 2)};
            if (type == 0x0207 && pendingString.first >= 0) {
                scan.setExtra(pendingString, TableLineBreaks(biffString(d, scan.biff8)));
                pendingString = {-1, -1};
            } else if (type == 0x0205 && d.size() >= 8) {
                const auto value = static_cast<uint8_t>(d[6]);
                scan.setExtra(at, d[7] ? errorText(value) : value ? "TRUE" : "FALSE");
            } else if ((type == 0x0006 || type == 0x0406) && d.size() >= 14) {
                const std::string_view result = d.substr(6, 8);
                if (u16(result, 6) != 0xFFFF) {
                    double number = 0;
                    std::memcpy(&number, result.data(), 8);
                    const DateKind kind = scan.kindOf(u16(d, 4));
                    scan.setExtra(at, kind == DateKind::None ? SheetNumberText(number)
                                                             : SheetDateText(number, scan.date1904, kind));
                } else {
                    switch (static_cast<uint8_t>(result[0])) {
                        case 0:
                            pendingString = at;
                            break;  // the STRING record that follows holds it
                        case 1:
                            scan.setExtra(at, result[2] ? "TRUE" : "FALSE");
                            break;
                        case 2:
                            scan.setExtra(at, errorText(static_cast<uint8_t>(result[2])));
                            break;
                        default:
                            break;
                    }
                }
            }
            return scan.extra.size() <= static_cast<size_t>(kMaxSheetCells) &&
                   scan.extraText.size() < (1u << 31);
        });
        if (!sheet) {
            return scan;
        }
    }
    scan.sortExtra();
    scan.ok = true;
    return scan;
}

struct Handle {
    const void* xls = nullptr;
    ~Handle() {
        if (xls) {
            freexl_close(xls);
        }
    }
};

std::string cellText(const FreeXL_CellValue& v) {
    switch (v.type) {
        case FREEXL_CELL_INT:
            return SheetNumberText(v.value.int_value);
        case FREEXL_CELL_DOUBLE:
            return SheetNumberText(v.value.double_value);
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            return v.value.text_value ? TableLineBreaks(v.value.text_value) : std::string();
        default:
            return {};
    }
}

// The workbook's stream, or nothing.
std::optional<std::string> workbookStream(const std::string& path) {
    const std::optional<std::string> file = ReadWholeFile(path);
    if (!file || static_cast<int64_t>(file->size()) > kMaxWorkbookBytes) {
        return std::nullopt;
    }
    if (std::optional<std::string> stream = CompoundFileStream(*file, "Workbook")) {
        return stream;
    }
    return CompoundFileStream(*file, "Book");
}

// The sheet names FreeXL gives, and which of them `choice` picks (-1: none). False when FreeXL
// refuses the workbook.
bool sheetNames(const void* xls, const SheetChoice& choice, std::vector<std::string>& names, int& chosen) {
    unsigned int sheets = 0;
    if (freexl_get_info(xls, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0 ||
        sheets > 65535) {
        return false;
    }
    names.clear();
    chosen = -1;
    for (unsigned int i = 0; i < sheets; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(xls, static_cast<unsigned short>(i), &name) != FREEXL_OK) {
            return false;
        }
        names.emplace_back(name ? name : "");
        if (chosen < 0 &&
            (choice.name.empty() ? static_cast<int>(i) == choice.index : names.back() == choice.name)) {
            chosen = static_cast<int>(i);
        }
    }
    return true;
}

}  // namespace

SheetError ReadXls(const std::string& path, const SheetChoice& choice, SheetGrid& out) {
    std::optional<std::string> stream = workbookStream(path);
    if (!stream) {
        return SheetError::Format;
    }
    // The chosen sheet's number is known once FreeXL has named the sheets; the declared sizes are
    // checked first, on every sheet.
    if (!scanWorkbook(*stream, -1).ok) {
        return SheetError::Format;
    }
    // The names from a quick look, so that the chosen sheet is scanned, and the workbook's stream let
    // go, before FreeXL reads all the cells.
    SheetGrid grid;
    int chosen = -1;
    {
        Handle names;
        if (freexl_open_info(path.c_str(), &names.xls) == FREEXL_OK) {
            sheetNames(names.xls, choice, grid.sheetNames, chosen);
        }
    }
    Scan scan = scanWorkbook(*stream, chosen);
    stream.reset();

    Handle handle;
    if (freexl_open(path.c_str(), &handle.xls) != FREEXL_OK) {
        return SheetError::Format;
    }
    unsigned int info = 0;
    if (freexl_get_info(handle.xls, FREEXL_BIFF_PASSWORD, &info) != FREEXL_OK ||
        info == FREEXL_BIFF_OBFUSCATED) {
        return SheetError::Format;
    }
    const int looked = chosen;
    if (!sheetNames(handle.xls, choice, grid.sheetNames, chosen)) {
        return SheetError::Format;
    }
    if (chosen < 0) {
        out.sheetNames = grid.sheetNames;
        return SheetError::MissingSheet;
    }
    grid.sheet = chosen;
    if (chosen != looked) {
        stream = workbookStream(path);
        scan = stream ? scanWorkbook(*stream, chosen) : Scan();
        stream.reset();
    }
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (!scan.ok ||
        freexl_select_active_worksheet(handle.xls, static_cast<unsigned short>(chosen)) != FREEXL_OK ||
        freexl_worksheet_dimensions(handle.xls, &rows, &cols) != FREEXL_OK) {
        return SheetError::Format;
    }
    // The declared cells (within the limits, checked above) mostly hold something.
    grid.reserve(static_cast<size_t>(std::min<int64_t>(int64_t{rows} * cols, kMaxSheetCells)), 0);
    auto extra = scan.extra.begin();
    for (unsigned int r = 0; r < rows; ++r) {
        if (choice.enough(grid.rows.size())) {
            grid.partial = true;
            break;
        }
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(handle.xls, r, c, &value) != FREEXL_OK) {
                return SheetError::Format;
            }
            std::string text = cellText(value);
            while (extra != scan.extra.end() && extra->at < std::pair<int, int>(static_cast<int>(r), c)) {
                ++extra;
            }
            if (extra != scan.extra.end() && extra->at == std::pair<int, int>(static_cast<int>(r), c)) {
                text = scan.extraAt(*extra);
            }
            if (!grid.set(static_cast<int>(r), c, std::move(text))) {
                return SheetError::Format;
            }
        }
    }
    out = std::move(grid);
    return SheetError::None;
}

}  // namespace scorvane
