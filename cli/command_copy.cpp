#include "cli/cli_command.h"
#include "cli/table_io.h"

namespace scorvane::cli {
namespace {

int runCopy(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o")) {
        return UsageError("copy TABLE.skv -o OUT.skv");
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    return SaveTable(document.table, args.value("-o")) ? 0 : 1;
}

CliRegistrar registrar(
    {"copy", "copy TABLE.skv -o OUT.skv", "读入表格并另存为 OUT.skv（不询问覆盖）", {"-o"}, {}, runCopy, 20});

}  // namespace
}  // namespace scorvane::cli
