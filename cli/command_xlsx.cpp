#include <iostream>
#include <string>

#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "main/document/data_file.h"
#include "main/workbook/workbook_export.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage = "xlsx TABLE.skv -o OUT.xlsx";

int runXlsx(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o")) {
        return UsageError(kUsage);
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    if (!ExportWorkbook(document.table, args.value("-o"))) {
        std::cerr << kSaveFailedMessage << "\n";
        return 1;
    }
    return 0;
}

CliRegistrar registrar({"xlsx",
                        kUsage,
                        "保存为 Excel 工作簿（.xlsx）：标题、加粗冻结的字段行、数字写为数值，"
                        "公式写为电子表格公式并带有计算结果（无法转换的公式写出其结果）",
                        {"-o"},
                        {},
                        runXlsx,
                        61});

}  // namespace
}  // namespace scorvane::cli
