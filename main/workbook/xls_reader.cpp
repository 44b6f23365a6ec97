#include "main/workbook/xls_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <optional>
#include <vector>

#include "main/workbook/sheet_value_text.h"
#include "main/workbook/xls_compound_file.h"
#include "main/workbook/xls_globals.h"
#include "main/workbook/xls_records.h"

namespace scorvane {
namespace {

// The sheets of a workbook together declare at most this many cells (each at most kMaxSheetCells).
constexpr int64_t kMaxWorkbookCells = 4 * kMaxSheetCells;
// The text of a sheet's cells together: a shared string may stand in many cells, but the text read stays
// in proportion to the workbook (and within what any school's sheet holds).
int64_t sheetTextLimit(uint64_t streamBytes) {
    return std::min<int64_t>(16LL * 1024 * 1024 + 32 * static_cast<int64_t>(streamBytes), UINT32_MAX);
}

constexpr uint16_t kDimension = 0x0200;
constexpr uint16_t kLabelSst = 0x00FD;
constexpr uint16_t kLabel = 0x0204;
constexpr uint16_t kRString = 0x00D6;
constexpr uint16_t kNumber = 0x0203;
constexpr uint16_t kRk = 0x027E;
constexpr uint16_t kMulRk = 0x00BD;
constexpr uint16_t kFormula = 0x0006;
constexpr uint16_t kString = 0x0207;
constexpr uint16_t kBoolErr = 0x0205;
constexpr uint16_t kBlank = 0x0201;
constexpr uint16_t kMulBlank = 0x00BE;

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

// An RK number: 30 bits of an integer or the high 30 bits of a double, perhaps divided by 100.
double rkValue(uint32_t rk) {
    double value = 0;
    if ((rk & 2) != 0) {
        value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
    } else {
        const uint64_t bits = uint64_t{rk & 0xFFFFFFFCu} << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 1) != 0 ? value / 100 : value;
}

// The record alone, without the CONTINUE records after it: cells have a layout of their own size.
XlsRecordReader own(const XlsRecord& record) {
    return XlsRecordReader(XlsRecord{record.type, record.data, {}});
}

// Calls `visit` for every record of the sheet whose BOF is at `offset`, up to its EOF; the records of a
// chart embedded in it (a BOF to EOF of its own) are left out. False when the sheet's records run past
// the stream, or `visit` refuses one. `walked`: the bytes from its BOF to the end of its EOF.
template <typename Visit>
bool walkSheet(XlsStream& stream, uint32_t offset, uint64_t& walked, Visit visit) {
    XlsRecords records(stream, offset);
    XlsRecord record;
    if (!records.next(record) || record.type != xls::kBof) {
        return false;
    }
    int depth = 1;
    while (records.next(record)) {
        if (record.type == xls::kBof) {
            ++depth;
        } else if (record.type == xls::kEof) {
            if (--depth == 0) {
                walked = records.walked();
                return true;
            }
        } else if (depth == 1 && !visit(record)) {
            return false;
        }
    }
    return false;
}

// Where a record holds cells: a row and the first and last of its columns. False for records of no cell.
bool cellsOf(const XlsRecord& record, uint32_t& row, uint32_t& first, uint32_t& last) {
    switch (record.type) {
        case kLabelSst:
        case kLabel:
        case kRString:
        case kNumber:
        case kRk:
        case kFormula:
        case kBoolErr:
        case kMulRk: {
            XlsRecordReader r = own(record);
            uint16_t rw = 0;
            uint16_t col = 0;
            if (!r.u16(rw) || !r.u16(col)) {
                return false;
            }
            row = rw;
            first = last = col;
            if (record.type == kMulRk) {
                // A column, then values of six bytes each (a style and an RK number), then the last column.
                if (record.data.size() < 12 || (record.data.size() - 6) % 6 != 0) {
                    return false;
                }
                last = col + static_cast<uint32_t>((record.data.size() - 6) / 6) - 1;
            }
            return true;
        }
        default:
            return false;
    }
}

// What the sheets declare, checked on every sheet before any is read: their sizes within the limits and
// their records within the stream. For the sheet to read, also whether its cells come in the order of
// rows and columns, each once (as every writer of workbooks stores them), and how many the grid holds.
struct SheetsCheck {
    bool sound = false;
    bool ordered = true;
    int64_t gridCells = 0;
    int64_t textBytes = 0;  // at most, for the grid's room (the room not written costs no memory)
};

// At most how many bytes of UTF-8 a record's values take.
int64_t textBound(const XlsRecord& record, const XlsGlobals& globals, uint32_t first, uint32_t last) {
    constexpr int64_t kNumber = 24;  // "-1.23456789012345E-300", "2024-09-01 12:00:00"
    switch (record.type) {
        case kLabelSst: {
            XlsRecordReader r = own(record);
            uint32_t index = 0;
            return r.skip(6) && r.u32(index) && index < globals.sharedCount()
                       ? static_cast<int64_t>(globals.shared(index).size())
                       : 0;
        }
        case kLabel:
        case kRString:
        case kString:
            // A character of one byte takes at most two in UTF-8 (a line break too), one of two at most three.
            return 2 * static_cast<int64_t>(record.data.size() + record.continued.size());
        default:
            return kNumber * (int64_t{last} - first + 1);
    }
}

SheetsCheck checkSheets(XlsStream& stream, const XlsGlobals& globals, int chosen) {
    SheetsCheck check;
    int64_t cells = 0;
    std::map<uint64_t, uint64_t> spans;  // the sheets' records walked: where they start, and end
    for (size_t i = 0; i < globals.sheets.size(); ++i) {
        const uint64_t offset = globals.sheets[i].offset;
        uint64_t walked = 0;
        const bool reading = static_cast<int>(i) == chosen;
        int64_t lastRow = -1;
        int64_t lastColumn = -1;
        const bool sheet = walkSheet(stream, globals.sheets[i].offset, walked, [&](const XlsRecord& record) {
            if (record.type == kDimension) {
                XlsRecordReader r = own(record);
                uint32_t rowFirst = 0;
                uint32_t rowLast = 0;
                uint16_t row16First = 0;
                uint16_t row16Last = 0;
                uint16_t colFirst = 0;
                uint16_t colLast = 0;
                if (globals.biff8 ? !r.u32(rowFirst) || !r.u32(rowLast)
                                  : !r.u16(row16First) || !r.u16(row16Last)) {
                    return false;
                }
                if (!r.u16(colFirst) || !r.u16(colLast)) {
                    return false;
                }
                const int64_t rows = globals.biff8 ? int64_t{rowLast} - rowFirst : int64_t{row16Last} - row16First;
                const int64_t declared = std::max<int64_t>(rows, 0) * std::max<int64_t>(int64_t{colLast} - colFirst, 0);
                cells += declared;
                return declared <= kMaxSheetCells && cells <= kMaxWorkbookCells;
            }
            uint32_t row = 0;
            uint32_t first = 0;
            uint32_t last = 0;
            if (reading && record.type == kString) {
                check.textBytes += textBound(record, globals, 0, 0);
            }
            if (reading && cellsOf(record, row, first, last)) {
                check.textBytes += textBound(record, globals, first, last);
                if (row < lastRow || (row == lastRow && first <= lastColumn)) {
                    check.ordered = false;
                } else if (row != lastRow) {
                    check.gridCells += lastColumn + 1;
                    lastColumn = -1;
                }
                lastRow = row;
                lastColumn = std::max<int64_t>(lastColumn, last);
            }
            return true;
        });
        // The sheets lie one after the other: two sheets over the same records are no workbook (and no
        // stream is walked more than twice over).
        const auto next = spans.lower_bound(offset);
        if (!sheet || (next != spans.end() && next->first < offset + walked) ||
            (next != spans.begin() && std::prev(next)->second > offset)) {
            return check;
        }
        spans.emplace(offset, offset + walked);
        if (reading) {
            check.gridCells += lastColumn + 1;
        }
    }
    check.sound = true;
    return check;
}

// The sheet's cells into the grid, in order, up to the rows asked for.
class GridFiller {
  public:
    GridFiller(SheetGrid& grid, const SheetChoice& choice, int64_t textLimit)
        : grid_(grid), choice_(choice), textLimit_(textLimit) {}

    // False when reading ends here: the rows asked for are read, or the sheet is over the limits (refused()).
    bool add(uint32_t row, uint32_t col, std::string_view text) {
        if (text.empty()) {
            return true;
        }
        const int r = static_cast<int>(row);
        if ((grid_.rows.empty() || grid_.rows.back().index != r) && choice_.enough(grid_.rows.size())) {
            grid_.partial = true;
            return false;
        }
        text_ += static_cast<int64_t>(text.size());
        if (text_ > textLimit_ || !grid_.set(r, static_cast<int>(col), text)) {
            refused_ = true;
            return false;
        }
        return true;
    }
    bool refused() const { return refused_; }

  private:
    SheetGrid& grid_;
    const SheetChoice& choice_;
    int64_t textLimit_;
    int64_t text_ = 0;
    bool refused_ = false;
};

// The cells of a sheet whose records come out of order, or give a cell twice: held, put in order (the
// last one given of a cell standing), then given to the grid.
class HeldCells {
  public:
    HeldCells(const XlsGlobals& globals, int64_t textLimit) : globals_(globals), textLimit_(textLimit) {}

    bool add(uint32_t row, uint32_t col, std::string_view text, bool shared, size_t sharedIndex) {
        if (cells_.size() >= static_cast<size_t>(kMaxSheetCells)) {
            return false;
        }
        text_ += static_cast<int64_t>(text.size());
        if (text_ > textLimit_) {
            return false;
        }
        if (shared) {
            cells_.push_back({row, col, static_cast<uint32_t>(sharedIndex), 0, true});
        } else {
            cells_.push_back({row, col, static_cast<uint32_t>(own_.size()), static_cast<uint32_t>(text.size()), false});
            own_.append(text);
        }
        return true;
    }

    // False when the grid refused a cell.
    bool fill(GridFiller& grid) {
        std::stable_sort(cells_.begin(), cells_.end(),
                         [](const Cell& a, const Cell& b) { return a.row != b.row ? a.row < b.row : a.col < b.col; });
        for (size_t i = 0; i < cells_.size(); ++i) {
            const Cell& c = cells_[i];
            if (i + 1 < cells_.size() && cells_[i + 1].row == c.row && cells_[i + 1].col == c.col) {
                continue;  // given again later
            }
            const std::string_view text =
                c.shared ? globals_.shared(c.offset) : std::string_view(own_).substr(c.offset, c.length);
            if (!grid.add(c.row, c.col, text)) {
                return !grid.refused();
            }
        }
        return true;
    }

  private:
    struct Cell {
        uint32_t row;
        uint32_t col;
        uint32_t offset;  // in own_, or the shared string's number
        uint32_t length;
        bool shared;
    };
    const XlsGlobals& globals_;
    int64_t textLimit_;
    std::vector<Cell> cells_;
    std::string own_;
    int64_t text_ = 0;
};

// Reads the values of a sheet's cell records as a reader of the sheet sees them.
class CellReader {
  public:
    CellReader(const XlsGlobals& globals, GridFiller& grid, HeldCells* held)
        : globals_(globals), codePage_(globals.codePage), grid_(grid), held_(held) {}

    // False when reading ends: the sheet is damaged, over the limits, or read far enough.
    bool record(const XlsRecord& record) {
        if (record.type == kString) {
            // The text result of the formula just before.
            if (!pending_) {
                return true;
            }
            const auto [row, col] = *pending_;
            pending_.reset();
            XlsRecordReader r(record);
            std::string text;
            return string(r, text) ? add(row, col, TableLineBreaks(std::move(text))) : damaged();
        }
        if (record.type == kBlank || record.type == kMulBlank) {
            pending_.reset();
            return true;
        }
        uint32_t row = 0;
        uint32_t first = 0;
        uint32_t last = 0;
        if (!cellsOf(record, row, first, last)) {
            return !isCell(record.type) || damaged();
        }
        pending_.reset();
        XlsRecordReader r = own(record);
        uint16_t style = 0;
        if (!r.skip(4)) {
            return damaged();
        }
        switch (record.type) {
            case kLabelSst: {
                uint32_t index = 0;
                if (!r.skip(2) || !r.u32(index) || index >= globals_.sharedCount()) {
                    return damaged();
                }
                return held_ ? hold(row, first, globals_.shared(index), true, index)
                             : add(row, first, globals_.shared(index));
            }
            case kLabel:
            case kRString: {
                XlsRecordReader text(record);
                std::string value;
                if (!text.skip(6) || !string(text, value)) {
                    return damaged();
                }
                return add(row, first, TableLineBreaks(std::move(value)));
            }
            case kNumber: {
                double value = 0;
                if (!r.u16(style) || !r.bytes(&value, sizeof value)) {
                    return damaged();
                }
                return add(row, first, numberText(value, style));
            }
            case kRk: {
                uint32_t rk = 0;
                if (!r.u16(style) || !r.u32(rk)) {
                    return damaged();
                }
                return add(row, first, numberText(rkValue(rk), style));
            }
            case kMulRk: {
                for (uint32_t col = first; col <= last; ++col) {
                    uint32_t rk = 0;
                    if (!r.u16(style) || !r.u32(rk)) {
                        return damaged();
                    }
                    if (!add(row, col, numberText(rkValue(rk), style))) {
                        return false;
                    }
                }
                return true;
            }
            case kFormula:
                return formula(r, row, first);
            case kBoolErr: {
                uint8_t value = 0;
                uint8_t error = 0;
                if (!r.u16(style) || !r.u8(value) || !r.u8(error)) {
                    return damaged();
                }
                return add(row, first, error != 0 ? errorText(value) : value != 0 ? "TRUE" : "FALSE");
            }
            default:
                return true;
        }
    }

  private:
    // A record the sheet cannot hold: reading ends, and the workbook is refused.
    static bool damaged() { return false; }

    static bool isCell(uint16_t type) {
        return type == kLabelSst || type == kLabel || type == kRString || type == kNumber || type == kRk ||
               type == kMulRk || type == kFormula || type == kBoolErr;
    }

    // A formula's stored result: a number, or text in the STRING record after it, TRUE or FALSE, an
    // error, or nothing.
    bool formula(XlsRecordReader& r, uint32_t row, uint32_t col) {
        uint16_t style = 0;
        unsigned char result[8];
        if (!r.u16(style) || !r.bytes(result, sizeof result)) {
            return damaged();
        }
        if (result[6] != 0xFF || result[7] != 0xFF) {
            double value = 0;
            std::memcpy(&value, result, sizeof value);
            return add(row, col, numberText(value, style));
        }
        switch (result[0]) {
            case 0:
                pending_.emplace(row, col);
                return true;
            case 1:
                return add(row, col, result[2] != 0 ? "TRUE" : "FALSE");
            case 2:
                return add(row, col, errorText(result[2]));
            default:
                return add(row, col, {});
        }
    }

    bool string(XlsRecordReader& r, std::string& out) {
        return globals_.biff8 ? r.unicodeString(false, false, out) : r.byteString(false, codePage_, out);
    }

    std::string numberText(double value, uint16_t style) const {
        const DateKind kind = globals_.kindOfStyle(style);
        return kind == DateKind::None ? SheetNumberText(value) : SheetDateText(value, globals_.date1904, kind);
    }

    bool add(uint32_t row, uint32_t col, std::string_view text) {
        return held_ ? hold(row, col, text, false, 0) : grid_.add(row, col, text);
    }
    bool hold(uint32_t row, uint32_t col, std::string_view text, bool shared, size_t index) {
        if (!held_->add(row, col, text, shared, index)) {
            return damaged();
        }
        return true;
    }

    const XlsGlobals& globals_;
    XlsCodePage codePage_;
    GridFiller& grid_;
    HeldCells* held_;
    std::optional<std::pair<uint32_t, uint32_t>> pending_;  // a formula whose text comes next
};

// Reads the workbook open as `fd`.
SheetError readXls(int fd, const SheetChoice& choice, SheetGrid& out) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxWorkbookBytes) {
        return SheetError::Format;
    }
    std::optional<CompoundStreamPlace> place =
        FindCompoundStream(fd, static_cast<uint64_t>(st.st_size), {"Workbook", "Book"});
    if (!place) {
        return SheetError::Format;
    }
    XlsStream stream(fd, std::move(*place));
    XlsGlobals globals;
    if (!ReadXlsGlobals(stream, globals)) {
        return SheetError::Format;
    }
    SheetGrid grid;
    int chosen = -1;
    for (size_t i = 0; i < globals.sheets.size(); ++i) {
        grid.sheetNames.push_back(globals.sheets[i].name);
        if (chosen < 0 && (choice.name.empty() ? static_cast<int>(i) == choice.index
                                               : globals.sheets[i].name == choice.name)) {
            chosen = static_cast<int>(i);
        }
    }
    const SheetsCheck check = checkSheets(stream, globals, chosen);
    if (!check.sound) {
        return SheetError::Format;
    }
    if (chosen < 0) {
        out.sheetNames = std::move(grid.sheetNames);
        return SheetError::MissingSheet;
    }
    grid.sheet = chosen;
    const int64_t textLimit = sheetTextLimit(stream.size());
    if (choice.rowLimit == 0) {
        grid.reserve(static_cast<size_t>(std::min(check.gridCells, kMaxSheetCells)),
                     static_cast<size_t>(std::min(check.textBytes, textLimit)));
    }
    GridFiller filler(grid, choice, textLimit);
    std::optional<HeldCells> held;
    if (!check.ordered) {
        held.emplace(globals, textLimit);
    }
    CellReader cells(globals, filler, held ? &*held : nullptr);
    uint64_t walked = 0;
    const bool read = walkSheet(stream, globals.sheets[static_cast<size_t>(chosen)].offset, walked,
                                [&cells](const XlsRecord& record) { return cells.record(record); });
    // Reading ends early only when the rows asked for are read.
    if (!read && !grid.partial) {
        return SheetError::Format;
    }
    if (held && !held->fill(filler)) {
        return SheetError::Format;
    }
    out = std::move(grid);
    return SheetError::None;
}

}  // namespace

SheetError ReadXls(const std::string& path, const SheetChoice& choice, SheetGrid& out) {
    // Opened without waiting, so that a pipe standing where a file is expected is refused.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return SheetError::Format;
    }
    const SheetError error = readXls(fd, choice, out);
    ::close(fd);
    return error;
}

}  // namespace scorvane
