#include "common/dialog_filter_names.h"

namespace scorvane {

std::string DialogFilterName(std::string_view pattern) {
    struct Name {
        std::string_view pattern;
        std::string_view name;
    };
    static constexpr Name kNames[] = {
        {"*.skv", "成绩表格"},    {"*.csv", "CSV 文件"},     {"*.txt;*.csv", "文本文件"},
        {"*.dbf", "FoxPro 表格"}, {"*.bmp", "Windows 位图"}, {"*.rvx", "KVL'S 报表文档"},
    };
    for (const Name& n : kNames) {
        if (n.pattern == pattern) {
            return std::string(n.name);
        }
    }
    return std::string(pattern);
}

}  // namespace scorvane
