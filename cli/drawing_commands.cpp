#include "cli/drawing_commands.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <map>

namespace scorvane::cli {
namespace {

std::map<std::string, CommandRun>& runs() {
    static std::map<std::string, CommandRun> byName;
    return byName;
}

// The drawing commands as --help lists them; their run functions are the drawing program's.
CliRegistrar print({"print",
                    kPrintUsage,
                    "把表格按打印设置窗口的版式打印为 A4 纵向 PDF（公式打印其值；标题、教师、页脚、打印时间；"
                    "--page 打印第 N 页（每页 64 行），--row 只打印第 R 行）",
                    {"-o", "--title", "--footer", "--page", "--row"},
                    {"--no-teacher", "--class-info", "--no-fit", "--no-rules"},
                    nullptr,
                    60});

CliRegistrar report({"report",
                     kReportUsage,
                     "用报表模板为每一行打印一页（如成绩通知单）到 PDF；LABEL 为标签序号（1 为第一个）或标签文字，"
                     "FIELD 为字段名称或列号；--split 改为每个学生一个 PDF 文件，写入文件夹 FOLDER，文件名由 PATTERN "
                     "中的 {字段} 组成（默认 {学号}_{姓名}.pdf，没有学号时 {姓名}.pdf；文件名不能含的字符换为 _，"
                     "同名的加 (2)、(3)…）；已有同名文件时不写出任何文件，除非加 --force",
                     {"-o", "--bind", "--row", "--rows", "--split", "--name"},
                     {"--force"},
                     nullptr,
                     61});

CliRegistrar chart({"chart",
                    kChartUsage,
                    "画柱形图（一个字段，比较几行）或折线图（几个字段，每行一条线；line-up 数大在上，line-down "
                    "数小在上，如名次）；PDF 为打印的 A4 页（放大 1.74 倍），PNG/BMP 为预览图（500×320 像素）。"
                    "折线图的纵轴从最小值到最大值；不给 --max 时，所画数值超过 100 则取不小于最大数值的整数"
                    "（483 取 500），再不给 --min 时最小值取低于最小数值的整数",
                    {"-o", "--type", "--fields", "--rows", "--label-field", "--max", "--min", "--segments",
                     "--title"},
                    {},
                    nullptr,
                    62});

}  // namespace

DrawingRun::DrawingRun(const std::string& name, CommandRun run) {
    runs()[name] = run;
}

CommandRun DrawingRunOf(const std::string& name) {
    auto found = runs().find(name);
    return found == runs().end() ? nullptr : found->second;
}

int RunInDrawingProgram(char** argv) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = fs::read_symlink("/proc/self/exe", ec).parent_path();
    // Beside this program in a build, in the library programs' folder once installed.
    fs::path program = folder / kDrawingProgramName;
    if (::access(program.c_str(), X_OK) != 0) {
        program = (folder / SCORVANE_DRAWING_PROGRAM_FOLDER / kDrawingProgramName).lexically_normal();
    }
    argv[0] = const_cast<char*>(program.c_str());
    ::execv(program.c_str(), argv);
    std::cerr << "找不到绘图程序：" << program.string() << "\n";
    return 1;
}

}  // namespace scorvane::cli
