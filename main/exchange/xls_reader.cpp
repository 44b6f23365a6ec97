#include "main/exchange/xls_reader.h"

#include <freexl.h>

#include "main/exchange/sheet_value_text.h"

namespace scorvane {
namespace {

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

}  // namespace

SheetError ReadXls(const std::string& path, const SheetChoice& choice, SheetGrid& out) {
    Handle handle;
    if (freexl_open(path.c_str(), &handle.xls) != FREEXL_OK) {
        return SheetError::Format;
    }
    unsigned int info = 0;
    if (freexl_get_info(handle.xls, FREEXL_BIFF_PASSWORD, &info) != FREEXL_OK || info == FREEXL_BIFF_OBFUSCATED) {
        return SheetError::Format;
    }
    unsigned int sheets = 0;
    if (freexl_get_info(handle.xls, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0 ||
        sheets > 65535) {
        return SheetError::Format;
    }
    SheetGrid grid;
    int chosen = -1;
    for (unsigned int i = 0; i < sheets; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(handle.xls, static_cast<unsigned short>(i), &name) != FREEXL_OK) {
            return SheetError::Format;
        }
        grid.sheetNames.emplace_back(name ? name : "");
        if (chosen < 0 && (choice.name.empty() ? static_cast<int>(i) == choice.index : grid.sheetNames.back() == choice.name)) {
            chosen = static_cast<int>(i);
        }
    }
    if (chosen < 0) {
        out.sheetNames = grid.sheetNames;
        return SheetError::MissingSheet;
    }
    grid.sheet = chosen;
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_select_active_worksheet(handle.xls, static_cast<unsigned short>(chosen)) != FREEXL_OK ||
        freexl_worksheet_dimensions(handle.xls, &rows, &cols) != FREEXL_OK) {
        return SheetError::Format;
    }
    if (static_cast<int64_t>(rows) * cols > kMaxSheetCells) {
        return SheetError::Format;
    }
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(handle.xls, r, c, &value) != FREEXL_OK) {
                return SheetError::Format;
            }
            if (!grid.set(static_cast<int>(r), c, cellText(value))) {
                return SheetError::Format;
            }
        }
    }
    out = std::move(grid);
    return SheetError::None;
}

}  // namespace scorvane
