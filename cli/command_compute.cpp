#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "main/formula/formula_commands.h"

namespace scorvane::cli {
namespace {

int runCompute(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o")) {
        return UsageError("compute TABLE.skv -o OUT.skv");
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    // The command line has said what it wants: no question.
    ComputeAllFormulas(document, prompter, Confirmation::Skip);
    return SaveTable(document.table, args.value("-o")) ? 0 : 1;
}

CliRegistrar registrar({"compute",
                        "compute TABLE.skv -o OUT.skv",
                        "计算所有公式：每个公式单元格换成它的值，存为 OUT.skv",
                        {"-o"},
                        {},
                        runCompute,
                        62});

}  // namespace
}  // namespace scorvane::cli
