#include <iostream>

#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "main/document/data_file.h"

namespace scorvane::cli {
namespace {

int runInfo(const CliArgs& args) {
    if (args.positional.size() != 1) {
        return UsageError("info TABLE.skv");
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    const GradeTable& t = document.table;
    // One value per line; a line break inside a value shows as "[/]", as in the data file.
    std::cout << EncodeLineValue(t.title) << "\n"
              << t.rows() << "\n"
              << t.cols() << "\n"
              << EncodeLineValue(t.teacher) << "\n"
              << EncodeLineValue(t.classInfo) << "\n"
              << EncodeLineValue(t.dataFormat) << "\n";
    for (const std::string& title : t.fieldTitles()) {
        std::cout << EncodeLineValue(title) << "\n";
    }
    return 0;
}

CliRegistrar registrar({"info",
                        "info TABLE.skv",
                        "打印表格标题、行数、列数、教师、班级信息、数据格式，然后每行一个字段名称",
                        {},
                        {},
                        runInfo,
                        10});

}  // namespace
}  // namespace scorvane::cli
