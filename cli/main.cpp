#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/drawing_commands.h"
#include "main/workspace/workspace_folder.h"

namespace {

void printHelp() {
    auto commands = scorvane::cli::Commands();
    std::stable_sort(commands.begin(), commands.end(),
                     [](const auto& a, const auto& b) { return a.order < b.order; });
    std::cout << "scorvane-cli " << SCORVANE_VERSION << " —— 不开窗口的 Scorvane 成绩表引擎\n\n"
              << "用法：scorvane-cli [--workspace 文件夹] 命令 参数...\n\n命令：\n";
    for (const auto& c : commands) {
        std::cout << "  " << c.usage << "\n      " << c.summary << "\n";
    }
    std::cout << "\n表格文件为 GBK 编码的 .skv 数据文件；-o 指定的文件总是直接写入（不询问覆盖）。\n"
              << "字段（FIELD、COL）可以是字段名称，也可以是列号（1 为第一个字段）。\n"
              << "以“-”开头的文件名写在“--”之后（“--”之后的参数都不是选项）。\n"
              << "输出为 UTF-8 文本；出错时在标准错误输出上说明原因，退出状态为 1。\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string workspace;
    if (args.size() >= 2 && args[0] == "--workspace") {
        workspace = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp();
        return args.empty() ? 1 : 0;
    }
    const char* home = std::getenv("SCORVANE_HOME");
    scorvane::SetProgramFolder(scorvane::ResolveWorkspaceFolder(
        {workspace, home ? home : "", "", std::filesystem::current_path().string()}));

    for (const auto& command : scorvane::cli::Commands()) {
        if (command.name == args[0]) {
            std::vector<std::string> rest(args.begin() + 1, args.end());
            if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
                std::cout << "用法：scorvane-cli " << command.usage << "\n" << command.summary << "\n";
                return 0;
            }
            scorvane::cli::CliArgs parsed;
            if (!scorvane::cli::ParseCliArgs(command, rest, parsed)) {
                return 1;
            }
            if (command.run) {
                return command.run(parsed);
            }
            if (auto run = scorvane::cli::DrawingRunOf(command.name)) {
                return run(parsed);
            }
            return scorvane::cli::RunInDrawingProgram(argv);
        }
    }
    std::cerr << "未知的命令：" << args[0] << "（scorvane-cli --help 列出所有命令）\n";
    return 1;
}
