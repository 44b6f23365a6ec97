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
    const DbfError error = ReadDbfFile(args.positional[0], grid);
    if (error != DbfError::None) {
        std::cerr << DbfErrorText(error) << "\n";
        return 1;
    }
    const ConvertedTableInfo info{args.value("--title"), args.value("--teacher"), args.value("--info")};
    return SaveTable(ConvertedTable(grid, info), args.value("-o")) ? 0 : 1;
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
