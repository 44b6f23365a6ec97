#include <iostream>

#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "common/utf8.h"
#include "main/workbook/workbook_import.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage = "import-sheet BOOK -o OUT.skv [--sheet NAME|N] [--header-row N]";

int runImportSheet(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o")) {
        return UsageError(kUsage);
    }
    const std::string& book = args.positional[0];
    int headerRow = -1;
    if (args.has("--header-row")) {
        long long n = 0;
        if (!ParseWholeNumber(TrimSpaces(args.value("--header-row")), 1, 1048576, n)) {
            std::cerr << "字段行应为从 1 起的行号：" << args.value("--header-row") << "\n";
            return 1;
        }
        headerRow = static_cast<int>(n - 1);
    }
    SheetChoice choice;
    choice.name = args.value("--sheet");
    SheetGrid grid;
    SheetTable sheet = ImportWorkbook(book, choice, headerRow, grid);
    // A sheet given by number: the N-th sheet, unless a sheet bears that name.
    long long number = 0;
    if (!choice.name.empty() && grid.sheetNames.size() > 0 && sheet.message.rfind(kMissingSheetMessage, 0) == 0 &&
        ParseWholeNumber(TrimSpaces(choice.name), 1, 65536, number)) {
        choice = SheetChoice{{}, static_cast<int>(number - 1)};
        sheet = ImportWorkbook(book, choice, headerRow, grid);
    }
    if (!sheet.message.empty()) {
        std::cerr << sheet.message << "\n";
        return 1;
    }
    return SaveTable(sheet.table, args.value("-o")) ? 0 : 1;
}

CliRegistrar registrar({"import-sheet",
                        kUsage,
                        "把电子表格（.xlsx、.xls、.ods）的第一张（或指定的）工作表转为成绩表：标题行之上的单独一格为"
                        "表格标题，第一个至少有两格内容的行为字段行（或 --header-row 指定，从 1 起），"
                        "值为电子表格显示的文字",
                        {"-o", "--sheet", "--header-row"},
                        {},
                        runImportSheet,
                        62});

}  // namespace
}  // namespace scorvane::cli
