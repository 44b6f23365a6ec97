#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "main/exchange/table_import.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage = "append TABLE.skv OTHER.skv -o OUT.skv";

int runAppend(const CliArgs& args) {
    if (args.positional.size() != 2 || !args.has("-o")) {
        return UsageError(kUsage);
    }
    ConsolePrompter prompter;
    Document document;
    const std::optional<std::string> other =
        LoadTableAndFindOther(args.positional[0], args.positional[1], document, prompter);
    if (!other) {
        return 1;
    }
    document.takeSnapshot();
    SilentStatusSink status;
    if (ImpData(document, *other, prompter, status) != ImportOutcome::Imported) {
        return 1;
    }
    return SaveTable(document.table, args.value("-o")) ? 0 : 1;
}

CliRegistrar registrar({"append",
                        kUsage,
                        "导入整张表格：把 OTHER.skv 的数据行接在表格末尾，另存为 OUT.skv",
                        {"-o"},
                        {},
                        runAppend,
                        62});

}  // namespace
}  // namespace scorvane::cli
