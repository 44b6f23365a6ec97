#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "main/document/cell_value.h"
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
    return SaveBytes(CsvExportBytes(document.table, FormulaValues(document.table)), args.value("-o")) ? 0 : 1;
}

CliRegistrar registrar(
    {"csv", kUsage, "保存为以逗号分隔的文本文件（GBK），公式单元格写出其计算结果", {"-o"}, {}, runCsv, 60});

}  // namespace
}  // namespace scorvane::cli
