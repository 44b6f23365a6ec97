#include <iostream>

#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "common/file_io.h"
#include "main/exchange/csv_import.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage = "import-csv TABLE.skv FILE.csv --column COL -o OUT.skv";

int runImportCsv(const CliArgs& args) {
    if (args.positional.size() != 2 || !args.has("--column") || !args.has("-o")) {
        return UsageError(kUsage);
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    const int col = ResolveField(document.table, args.value("--column"));
    if (col < 0) {
        return 1;
    }
    auto bytes = ReadWholeFile(args.positional[1]);
    if (!bytes) {
        std::cerr << kCsvReadFailedMessage << args.positional[1] << "\n";
        return 1;
    }
    document.takeSnapshot();
    PutValuesIntoColumn(document, col, ParseCsvValues(DecodeCsvBytes(*bytes)));
    return SaveTable(document.table, args.value("-o")) ? 0 : 1;
}

CliRegistrar registrar(
    {"import-csv",
     kUsage,
     "把以逗号分隔的文本文件（GBK 或 UTF-8）中的值依次填入该列第 1 行起的单元格，另存为 OUT.skv",
     {"--column", "-o"},
     {},
     runImportCsv,
     61});

}  // namespace
}  // namespace scorvane::cli
