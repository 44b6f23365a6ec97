#include "common/save_name.h"

#include "common/file_io.h"

namespace scorvane {

std::string WithExtensionIfBare(std::string_view path, std::string_view extension) {
    const size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (name.empty() || name.find('.', 1) != std::string_view::npos) {
        return std::string(path);
    }
    return std::string(path) + std::string(extension);
}

bool MayReplaceFile(const std::string& path, Prompter& prompter) {
    if (!FileExists(path)) {
        return true;
    }
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return prompter.ask(name + " 已存在。\n要替换它吗？", "确认另存为", Buttons::YesNo, Icon::Warning,
                        Answer::No) == Answer::Yes;
}

}  // namespace scorvane
