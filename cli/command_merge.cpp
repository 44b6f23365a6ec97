#include "cli/cli_command.h"
#include "cli/exchange_args.h"
#include "cli/table_io.h"
#include "main/exchange/partial_import.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage =
    "merge TABLE.skv OTHER.skv --into COL --from COL [--key FIELD=FIELD] -o OUT.skv";

int runMerge(const CliArgs& args) {
    if (args.positional.size() != 2 || !args.has("--into") || !args.has("--from") || !args.has("-o")) {
        return UsageError(kUsage);
    }
    ConsolePrompter prompter;
    Document document;
    const std::optional<std::string> other =
        LoadTableAndFindOther(args.positional[0], args.positional[1], document, prompter);
    if (!other) {
        return 1;
    }
    SilentStatusSink status;
    menuImportSome(document);
    ImportSource source = LoadDataI(*other, true, prompter, status);
    if (source.outcome != LoadOutcome::Loaded) {
        return 1;
    }
    const int into = ResolveField(document.table, args.value("--into"));
    const int from = ResolveField(source.table, args.value("--from"));
    if (into < 0 || from < 0) {
        return 1;
    }
    std::optional<KeyFields> key;
    if (args.has("--key")) {
        key = ParseKeyFields(document.table, source.table, args.value("--key"));
        if (!key) {
            return 1;
        }
    }
    if (RunPartialImport(document, into, source.table, from, key, prompter) !=
        PartialImportOutcome::Imported) {
        return 1;
    }
    return SaveTable(document.table, args.value("-o")) ? 0 : 1;
}

CliRegistrar registrar(
    {"merge",
     kUsage,
     "部分数据导入：把 OTHER.skv 的 --from 列填入表格的 --into 列，按行次序，或按关键字段对号入座"
     "（目标字段=来源字段），另存为 OUT.skv",
     {"--into", "--from", "--key", "-o"},
     {},
     runMerge,
     63});

}  // namespace
}  // namespace scorvane::cli
