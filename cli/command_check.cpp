#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "main/formula/formula_commands.h"

namespace scorvane::cli {
namespace {

int runCheck(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o")) {
        return UsageError("check TABLE.skv -o OUT.skv");
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    CheckAllFormulas(document);
    return SaveTable(document.table, args.value("-o")) ? 0 : 1;
}

CliRegistrar registrar({"check",
                        "check TABLE.skv -o OUT.skv",
                        "检查所有公式有效性：无法计算的公式前加上“(公式错误)”，存为 OUT.skv",
                        {"-o"},
                        {},
                        runCheck,
                        63});

}  // namespace
}  // namespace scorvane::cli
