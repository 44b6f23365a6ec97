#include <iostream>

#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "main/formula/replace_text.h"

namespace scorvane::cli {
namespace {

int runReplace(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("--find") || !args.has("--with") || !args.has("-o")) {
        return UsageError("replace TABLE.skv --find TEXT --with TEXT [--whole] -o OUT.skv");
    }
    const std::string findText = args.value("--find");
    const std::string replacement = args.value("--with");
    if (!CanReplace(findText, replacement)) {
        std::cerr << "要查找的文字和要替换的文字不能都为空。\n";
        return 1;
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    ReplaceInTable(document, findText, replacement, args.has("--whole"));
    return SaveTable(document.table, args.value("-o")) ? 0 : 1;
}

CliRegistrar registrar({"replace",
                        "replace TABLE.skv --find TEXT --with TEXT [--whole] -o OUT.skv",
                        "全部替换（区分大小写；--whole 只替换整个单元格等于 TEXT 的）；存为 OUT.skv",
                        {"--find", "--with", "-o"},
                        {"--whole"},
                        runReplace,
                        65});

}  // namespace
}  // namespace scorvane::cli
