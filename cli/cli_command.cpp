#include "cli/cli_command.h"

#include <iostream>

namespace scorvane::cli {

std::string CliArgs::value(const std::string& name, const std::string& fallback) const {
    auto it = options.find(name);
    return it == options.end() || it->second.empty() ? fallback : it->second.back();
}

const std::vector<std::string>& CliArgs::values(const std::string& name) const {
    static const std::vector<std::string> none;
    auto it = options.find(name);
    return it == options.end() ? none : it->second;
}

std::vector<CliCommand>& Commands() {
    static std::vector<CliCommand> commands;
    return commands;
}

bool ParseCliArgs(const CliCommand& command, const std::vector<std::string>& argv, CliArgs& out) {
    bool optionsEnded = false;
    for (size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        // "--" ends the options: a file whose name begins with "-" follows it.
        if (!command.raw && !optionsEnded && a == "--") {
            optionsEnded = true;
            continue;
        }
        bool looksLikeOption = !command.raw && !optionsEnded && a.size() > 1 && a[0] == '-' &&
                               !(a[1] >= '0' && a[1] <= '9') && a[1] != '.';
        if (!looksLikeOption) {
            out.positional.push_back(a);
            continue;
        }
        if (command.flags.count(a)) {
            out.options[a].push_back("");
            continue;
        }
        if (!command.valueOptions.count(a)) {
            std::cerr << "未知的选项：" << a << "\n用法：scorvane-cli " << command.usage << "\n";
            return false;
        }
        if (i + 1 >= argv.size()) {
            std::cerr << "选项 " << a << " 缺少取值。\n用法：scorvane-cli " << command.usage << "\n";
            return false;
        }
        out.options[a].push_back(argv[++i]);
    }
    return true;
}

}  // namespace scorvane::cli
