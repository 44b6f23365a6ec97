#include "common/text_codec.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "main/document/cell_value.h"
#include "main/exchange/csv_export.h"
#include "main/exchange/csv_import.h"

namespace scorvane::fuzz {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A value as it comes back from an exported line: quoted values whole, others without blanks around.
std::string afterRoundTrip(const std::string& value) {
    if (value.find_first_of(",\"\r\n") != std::string::npos) {
        return value;
    }
    size_t b = 0;
    size_t e = value.size();
    while (b < e && isBlank(value[b])) {
        ++b;
    }
    while (e > b && isBlank(value[e - 1])) {
        --e;
    }
    return value.substr(b, e - b);
}

}  // namespace

// Any text reads into a column without harm; values exported as a line read back as they were.
int FuzzCsv(const uint8_t* data, size_t size) {
    const std::string text = DecodeCsvBytes(Bytes(data, size));
    Check(IsValidUtf8(text), "the text is read as UTF-8");
    const std::vector<std::string> values = ParseCsvValues(text);
    Check(values.size() <= size + 1, "no more values than the text has bytes");

    Document document;
    document.table = GradeTable(6, 3);
    document.table.setCell(0, 2, "语文");
    const int written = PutValuesIntoColumn(document, 2, values);
    Check(written == std::min<int>(static_cast<int>(values.size()), 5),
          "values fill the column to its last row");
    Check(document.table.cell(0, 2) == "语文", "the field title is never written");

    // The first values as one exported row: the line reads back as those values.
    GradeTable row(1, static_cast<int>(std::min<size_t>(values.size(), 50)) + 1);
    for (int c = 1; c < row.cols(); ++c) {
        row.setCell(0, c, values[static_cast<size_t>(c) - 1]);
    }
    row.title = "t";
    const std::vector<std::string> back = ParseCsvValues(CsvExportText(row, CellValueFn()));
    // The title, then the empty value before the line's first comma, the corner and the cells.
    Check(back.size() == static_cast<size_t>(row.cols()) + 2, "an exported line has one value per column");
    for (int c = 1; c < row.cols(); ++c) {
        Check(back[static_cast<size_t>(c) + 2] == afterRoundTrip(row.cell(0, c)),
              "an exported value reads back");
    }
    return 0;
}

}  // namespace scorvane::fuzz
