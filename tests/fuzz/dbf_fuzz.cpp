#include <cstring>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "main/exchange/dbf_reader.h"

namespace scorvane::fuzz {

// One input is a table and its memo file: byte 0 says the memo's kind (bit 0: FoxPro .fpt, else
// dBASE .dbt; bit 1: no memo file at all), bytes 1-4 the table's length (little-endian, cut to what
// follows), then the table, then the memo file.
int FuzzDbf(const uint8_t* data, size_t size) {
    if (size < 5) {
        return 0;
    }
    uint32_t tableLength = 0;
    std::memcpy(&tableLength, data + 1, 4);
    const std::string_view rest = Bytes(data + 5, size - 5);
    const std::string_view table = rest.substr(0, std::min<size_t>(tableLength, rest.size()));
    const std::string_view memoBytes = rest.substr(table.size());
    std::optional<std::string_view> memo;
    if ((data[0] & 2) == 0) {
        memo = memoBytes;
    }

    GradeTable grid(2, 2);
    grid.setCell(1, 1, "kept");
    const DbfError error = ParseDbf(table, memo, (data[0] & 1) != 0, grid);
    if (error != DbfError::None) {
        Check(static_cast<int>(error) >= 1 && static_cast<int>(error) <= 7, "a documented error number");
        Check(grid.rows() == 2 && grid.cell(1, 1) == "kept", "a refused table leaves the grid as it was");
        return 0;
    }
    Check(grid.rows() >= 1 && grid.rows() <= GradeTable::kMaxCount && grid.cols() >= 1 &&
              grid.cols() <= GradeTable::kMaxCount,
          "a grade table's counts");
    Check(grid.cell(0, 0) == "  ", "the corner holds two spaces");
    size_t text = 0;
    for (int r = 1; r < grid.rows(); ++r) {
        Check(grid.cell(r, 0) == std::to_string(r), "records are numbered");
    }
    for (const std::string& cell : grid.cellTexts()) {
        text += cell.size();
    }
    // Text grows at most threefold in decoding (a stray byte becomes U+FFFD), numbers and dates a little
    // more; memos add at most the memo file and the margin that shared memos may use.
    Check(text <= 4 * size + 16 * grid.cellTexts().size() + 3 * (memoBytes.size() + (1 << 20)),
          "the grid's text in proportion to the files");
    return 0;
}

}  // namespace scorvane::fuzz
