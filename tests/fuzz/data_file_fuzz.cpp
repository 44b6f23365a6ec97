#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "main/document/data_file.h"

namespace scorvane::fuzz {

// A data file is taken whole or not at all; what is taken saves and reads back to the same file.
int FuzzDataFile(const uint8_t* data, size_t size) {
    const std::string_view bytes = Bytes(data, size);
    GradeTable table(3, 2);
    table.setCell(1, 1, "kept");
    if (!ParseDataFile(bytes, table)) {
        Check(table.rows() == 3 && table.cols() == 2 && table.cell(1, 1) == "kept",
              "a refused data file leaves the table as it was");
        return 0;
    }
    Check(HasDataFileMagic(bytes), "an accepted data file starts with the magic line");
    Check(table.rows() >= 1 && table.rows() <= GradeTable::kMaxCount && table.cols() >= 1 &&
              table.cols() <= GradeTable::kMaxCount,
          "the counts lie within 1 .. 32767");
    Check(static_cast<size_t>(table.rows()) * static_cast<size_t>(table.cols()) <= size,
          "every cell has a line of its own in the file");
    // What the window does after a load.
    table.renumber();
    table.setHeaderLayout(table.composeHeaderLayout(false));
    Check(table.cols() >= 1, "the header layout keeps the columns");

    const std::string saved = SerializeDataFile(table);
    GradeTable again;
    Check(ParseDataFile(saved, again), "a saved table reads back");
    Check(again.rows() == table.rows() && again.cols() == table.cols(), "the counts read back");
    Check(SerializeDataFile(again) == saved, "a saved table reads back to the same file");
    return 0;
}

}  // namespace scorvane::fuzz
