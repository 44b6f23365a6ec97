#include "cli/cli_command.h"
#include "cli/exchange_args.h"
#include "cli/table_io.h"
#include "main/exchange/partial_export.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage = "extract TABLE.skv --rows LIST --fields LIST -o OUT.skv";

int runExtract(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("--rows") || !args.has("--fields") || !args.has("-o")) {
        return UsageError(kUsage);
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    std::vector<int> rows;
    std::vector<int> fields;
    if (!ParseRowList(document.table, args.value("--rows"), rows) ||
        !ParseFieldList(document.table, args.value("--fields"), fields)) {
        return 1;
    }
    return SaveTable(ExtractTable(document.table, rows, fields), args.value("-o")) ? 0 : 1;
}

CliRegistrar registrar({"extract",
                        kUsage,
                        "导出部分表格：所选的行（如 2,5,9-12，可为空）与字段另存为一张新的表格 OUT.skv",
                        {"--rows", "--fields", "-o"},
                        {},
                        runExtract,
                        64});

}  // namespace
}  // namespace scorvane::cli
