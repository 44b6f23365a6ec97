#pragma once

#include <string>
#include <string_view>

#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/document/data_file.h"
#include "main/document/document.h"

namespace scorvane {

// The life of a document window beside its grid: its title, its saves, its close check and the status
// panel text that follows it.

// "更改表格标题": asks for the new title offering the current one; an answer that is empty after
// trimming (or cancel) changes nothing. True when a title was given; the modified flag is set when
// it differs from the old one.
bool ChangeTableTitle(Document& document, Prompter& prompter);

// A path chosen in a file dialog as the path the data file commands take: without ".skv" (in any
// case) when it ends in it.
std::string DataPathOf(std::string_view chosen);

// The save dialog of a table ("*.skv"): it opens in the folder of the table's file, else in
// `classFolder` (the class chosen in the school tree) when given, else in the workspace's data folder
// (表格数据), and offers the table's title as the name.
FileDialogSpec TableSaveDialog(const GradeTable& table, const std::string& classFolder = {});

// "保存表格": to the table's file path when it has one (SaveData asks before overwriting), otherwise to
// a path chosen in the save dialog (TableSaveDialog); the table's file path is not changed by a dialog
// save. A cancelled dialog writes nothing (Declined).
// The file the document claims (DocumentFile: opened through OpenTable, restored from a recovery copy,
// or saved once to its path) is looked at last, after the overwrite question, immediately before
// writing (PrepareToWrite): when someone else has changed it since the document read or wrote it, the
// changed-on-disk question is asked: 覆盖 writes (it answers the overwrite question too; the file is
// looked at once more first), 另存为 is "表格另存为...", 取消 writes nothing and keeps the changes unsaved.
// A file deleted meanwhile is written again without a question; one whose folder is gone too (a class
// removed on another computer) gives "文件保存失败！". A read-only document's "保存表格" is "表格另存为...".
SaveOutcome SaveTable(Document& document, Prompter& prompter, StatusSink& status,
                      const std::string& classFolder = {});

// "表格另存为...": always the save dialog, then as above. It writes a copy: the window keeps its own file
// and its lock. A read-only document may not choose its own file. The table's own file chosen under
// another name (a link in the path, "./", another letter case where case does not count) is saved as
// "保存表格" saves it; another file that another program has open asks HeldQuestion instead of the
// overwrite question.
SaveOutcome SaveTableAs(Document& document, Prompter& prompter, StatusSink& status,
                        const std::string& classFolder = {});

// The close check's question: 是否更改对表格：“<caption>”所做的修改?
std::string CloseQuestion(std::string_view caption);

// The close check: without changes the window closes; with them the question above (title "提示：",
// Yes/No/Cancel): Yes saves as "保存表格" does and closes only when the file was written; a cancelled
// save dialog, a declined overwrite or a failed save keep the window open, so no change is lost
// without the user saying so. No closes, Cancel keeps the window open. True when the window closes.
bool CloseCheck(Document& document, Prompter& prompter, StatusSink& status);

// The second status panel: "当前表格：" and the active table's caption ("（只读）" after the title of a
// read-only table), or "当前表格：无".
std::string ActiveTableStatus(const Document* active);

}  // namespace scorvane
