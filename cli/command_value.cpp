#include <algorithm>
#include <iostream>

#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "common/utf8.h"
#include "main/formula/formula_cell.h"

namespace scorvane::cli {
namespace {

int runValue(const CliArgs& args) {
    const char* usage = "value TABLE.skv ROW COL";
    long long row = 0;
    long long col = 0;
    if (args.positional.size() != 3 || !ParseWholeNumber(args.positional[1], 0, 1LL << 40, row) ||
        !ParseWholeNumber(args.positional[2], 0, 1LL << 40, col)) {
        return UsageError(usage);
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    const GradeTable& t = document.table;
    if (!t.contains(static_cast<int>(std::min<long long>(row, GradeTable::kMaxCount + 1)),
                    static_cast<int>(std::min<long long>(col, GradeTable::kMaxCount + 1)))) {
        std::cerr << "单元格 (" << row << "," << col << ") 不在表格中：表格共 " << t.rows() << " 行、"
                  << t.cols() << " 列（从 0 数起）。\n";
        return 1;
    }
    std::cout << 公式2值(t, static_cast<int>(row), static_cast<int>(col)) << "\n";
    return 0;
}

CliRegistrar registrar(
    {"value",
     "value TABLE.skv ROW COL",
     "打印单元格 (ROW,COL) 的显示值（公式单元格为其计算结果；行、列从 0 数起，0 行为字段名称）",
     {},
     {},
     runValue,
     61});

}  // namespace
}  // namespace scorvane::cli
