#include "fuzz/fuzz_targets.h"
#include "fuzz/workbook_check.h"
#include "main/workbook/workbook_import.h"

namespace scorvane::fuzz {

// One input is a whole workbook archive; the first and the second sheet are read from it.
int FuzzXlsx(const uint8_t* data, size_t size) {
    for (int sheet : {0, 1}) {
        SheetGrid grid;
        if (ReadZipWorkbook(Bytes(data, size), SheetChoice{{}, sheet}, grid) == SheetError::None) {
            CheckSheet(grid);
        }
    }
    return 0;
}

}  // namespace scorvane::fuzz
