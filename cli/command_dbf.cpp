#include <iostream>

#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "main/exchange/dbf_converter.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage = "dbf TABLE.dbf -o OUT.skv [--title T] [--teacher T] [--info T]";

int runDbf(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o")) {
        return UsageError(kUsage);
    }
    GradeTable grid;
    DbfReadNotes notes;
    const DbfError error = ReadDbfFile(args.positional[0], grid, &notes);
    if (error != DbfError::None) {
        std::cerr << DbfErrorText(error) << "\n";
        return 1;
    }
    if (!notes.empty()) {
        std::cerr << DbfNotesText(notes) << "\n";
    }
    const ConvertedTableInfo info{args.value("--title"), args.value("--teacher"), args.value("--info")};
    GradeTable table = ConvertedTable(grid, info);
    const size_t replaced = KeepGbkText(table);
    if (!SaveTable(table, args.value("-o"))) {
        return 1;
    }
    if (replaced > 0) {
        std::cerr << ReplacedCharactersText(replaced) << "\n";
    }
    return 0;
}

CliRegistrar registrar({"dbf",
                        kUsage,
                        "把 dBASE/FoxPro 表格（.dbf）转换为成绩表数据文件 OUT.skv",
                        {"-o", "--title", "--teacher", "--info"},
                        {},
                        runDbf,
                        65});

}  // namespace
}  // namespace scorvane::cli
