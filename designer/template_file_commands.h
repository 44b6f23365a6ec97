#pragma once

#include <string>
#include <string_view>

#include "common/prompter.h"
#include "common/status_sink.h"
#include "designer/template_document.h"

namespace scorvane::designer {

// The designer's own texts around template files.
inline constexpr std::string_view kNewQuestion = "文件尚未保存，不保存就新建报表吗？";
inline constexpr std::string_view kOpenQuestion = "文件尚未保存，不保存就打开其他报表吗？";
inline constexpr std::string_view kCloseQuestion = "文件尚未保存，确认要退出吗？";
inline constexpr std::string_view kSaveFailedMessage = "文件保存失败！";
inline constexpr std::string_view kReadFailedMessage = "文件读取失败！";
inline constexpr std::string_view kFormatMessage = "文件格式不正确!";
inline constexpr std::string_view kTemplateFilterDescription = "KVL'S 报表文档";
inline constexpr std::string_view kTemplatePattern = "*.rvx";
// What a template is called in the questions about its file ("模板“成绩通知单”…").
inline constexpr std::string_view kTemplateKind = "模板";

// The name a template goes by in those questions: its file's name without the folder and ".rvx".
std::string SharedTemplateName(const std::string& path);

// "新建(&N)": after the question when the template has unsaved changes, removes every line and label
// (the prototype stays), forgets the file name (its lock is removed) and clears the flag. The
// orientation stays. False when the user answered No.
bool NewTemplate(TemplateDocument& doc, Prompter& prompter);

// "打开(&O)...": the question when there are unsaved changes, then the open dialog, then OpenTemplateFile.
// No, a cancelled dialog or a file that cannot be opened leave everything as it was, the flag included.
bool OpenTemplate(TemplateDocument& doc, Prompter& prompter, StatusSink& status);

// Reads the template at `path` into the document as report printing reads it (ReadReportTemplate):
// orientation, lines named "表格线段  i", labels filled by SetLabel and named "文字标签  i", the last line
// and label selected; the path becomes the file name and the flag is cleared. Records that do not
// parse are passed over, and labels outside the page are moved onto it; the status says so
// ("模板中有 N 条记录格式不正确，已略过。", MovedLabelsMessage). A file that cannot be read gives
// "文件读取失败！", one without the template's [Information] section "文件格式不正确!"; then nothing
// changes and false is returned. Once the file has been read its lock is looked at, as for a table
// (ClaimForOpening, "模板“<name>”已由 …"): the template opens normally, read-only, or (取消) not at all,
// leaving everything as it was; a lock that cannot be made is said in the status bar.
bool OpenTemplateFile(TemplateDocument& doc, const std::string& path, Prompter& prompter, StatusSink& status);

// "保存(&S)": writes to the current file, or does SaveTemplateAs when there is none. "另存为(&A)...": the
// save dialog, then the template written to the name given, ".rvx" added to a name without an
// extension (a name with any extension is kept), which becomes the file name; a file of that name is
// replaced only after the overwrite question (MayReplaceFile), or, when another program has it open,
// after 覆盖 to HeldQuestion instead. Writing replaces the file atomically; the flag is cleared only when
// the file was written. A failed write says "文件保存失败！" (错误) and keeps the flag and the old file.
// The file the document claims (under whatever name it is chosen) is looked at last, after every other
// question, immediately before writing (PrepareToWrite): a change made since the designer read or wrote
// it asks "模板“<name>”在您打开之后已被其他人修改并保存。…" (覆盖 writes, after one more look; 另存为 is
// the save dialog, opening in the template's folder with its name; 取消 writes nothing); a file deleted
// meanwhile is written again, one whose folder is gone gives "文件保存失败！". A read-only template's
// "保存" is "另存为", which may not choose the template's own file. The file written becomes the
// document's, with its lock.
bool SaveTemplate(TemplateDocument& doc, Prompter& prompter);
bool SaveTemplateAs(TemplateDocument& doc, Prompter& prompter);

// Closing the window: true when it may close, asking "文件尚未保存，确认要退出吗？" when there are
// unsaved changes. This question, and those of 新建 and 打开, have 否 as their default and Escape answer.
bool MayCloseTemplate(const TemplateDocument& doc, Prompter& prompter);

}  // namespace scorvane::designer
