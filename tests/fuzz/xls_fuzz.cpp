#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_targets.h"
#include "fuzz/workbook_check.h"
#include "main/workbook/xls_reader.h"

namespace scorvane::fuzz {

// One input is a whole .xls file, handed to the reader through a scratch file (the reader reads a file
// where its sectors lie).
int FuzzXls(const uint8_t* data, size_t size) {
    char path[] = "/tmp/scorvane-xls-fuzz-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        return 0;
    }
    const bool written = write(fd, data, size) == static_cast<ssize_t>(size);
    close(fd);
    if (written) {
        for (int sheet : {0, 1}) {
            SheetGrid grid;
            if (ReadXls(path, SheetChoice{{}, sheet}, grid) == SheetError::None) {
                CheckSheet(grid);
            }
        }
    }
    unlink(path);
    return 0;
}

}  // namespace scorvane::fuzz
