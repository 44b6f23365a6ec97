#include <iostream>

#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "main/document/cell_value.h"
#include "main/document/data_file.h"
#include "main/exchange/csv_export.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage = "csv TABLE.skv -o OUT.csv";

int runCsv(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o")) {
        return UsageError(kUsage);
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    const std::string path = args.value("-o");
    if (path.empty() || !WriteCsvExport(document.table, FormulaValues(document.table), path)) {
        std::cerr << kSaveFailedMessage << "\n";
        return 1;
    }
    return 0;
}

CliRegistrar registrar(
    {"csv", kUsage, "保存为以逗号分隔的文本文件（GBK），公式单元格写出其计算结果", {"-o"}, {}, runCsv, 60});

}  // namespace
}  // namespace scorvane::cli
