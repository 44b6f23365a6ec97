#pragma once

#include <string>
#include <string_view>

namespace scorvane::designer {

// The designer window's caption.
inline constexpr std::string_view kDesignerCaption = "ScorvaneVelmora";

// "帮助主题": there is no help document; the message says so and where the commands are.
inline constexpr std::string_view kHelpTitle = "帮助主题";
inline constexpr std::string_view kNoHelpMessage =
    "报表设计器没有帮助文档。\n\n"
    "在页面上单击开始画表格线，再单击结束；“文字标签”菜单添加和修改标签，"
    "拖动标签可以改变它的位置。";

// "关于(&A)...": the caption, "V " and the version as major.minor.revision, and the maker's line.
inline constexpr std::string_view kAboutTitle = "关于";
inline constexpr std::string_view kMakerLine = "KVL'S Scorvane 成绩管理系统  版权所有";
std::string AboutText(std::string_view version);

// A version "1.1.0" (or "1.1", "1.1.0.4") as major.minor.revision: missing parts are 0, further parts
// are left out.
std::string VersionLine(std::string_view version);

}  // namespace scorvane::designer
