#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/prompter.h"
#include "main/document/document.h"

namespace scorvane {

// The commands of the field menu ("成绩表字段"). Each works on the document's table, takes the undo
// snapshot where the command does, and sets the modified flag when it changes the table.
//
// The column commands act on the current column; column 0 (the row numbers, current right after a
// load) stands for column 1: insert adds a new first field, remove and rename act on the first field.
// Without fields, remove and rename do nothing.

// A title may not hold "|", which separates the titles in the header layout string.
inline constexpr std::string_view kFieldTitleBarMessage = "字段名称中不能包含字符“|”，请重新输入。";
inline constexpr std::string_view kTemplateFormatMessage = "模版文件格式错误!";
inline constexpr std::string_view kTemplateTooLongMessage = "字段名称过长，无法保存为模版。";

// The header layout string of the field commands, set again: "  " then "|" and each title, an empty
// title written as three spaces.
void RebuildHeaderLayout(GradeTable& table);

// The column a field command acts on for the current column `currentCol`.
int FieldCommandColumn(const GradeTable& table, int currentCol);

// "插入列[字段]": takes the snapshot, inserts an empty column at the current column (cells of that
// column and those right of it move one column right) and asks for its title. Undo after it returns the
// table as it was before the insert. Returns the new column, or -1 when the table holds the most
// columns it can.
int InsertColumn(Document& document, int currentCol, Prompter& prompter);

// "删除列": takes the snapshot and removes the current column with its cells; no question. The last
// field may go (Cols = 1). False when there was no field to remove.
bool RemoveColumn(Document& document, int currentCol);

// "更改列标题[字段名称]": asks for the new title, offering the current one trimmed; an empty answer or
// cancel changes nothing and takes no snapshot; otherwise the snapshot, then the title. True when
// renamed.
bool RenameColumn(Document& document, int currentCol, Prompter& prompter);

// An input box for a field title: a title holding "|" is refused and asked again. nullopt when the
// answer is empty or cancelled.
std::optional<std::string> AskFieldTitle(Prompter& prompter, std::string_view prompt, std::string_view title,
                                         std::string offered);

// "保存当前字段结构为模版": asks for the name (offering "模版") and writes the current titles as
// "<name>.templet" in the template folder (or `folder`, ending in "/"). A name that cannot be a file name
// is refused and asked again; titles too long for a record are reported and nothing is written. No
// snapshot. True when written (the window then rebuilds its template menu).
bool SaveFieldTemplate(const Document& document, Prompter& prompter);
bool SaveFieldTemplate(const Document& document, Prompter& prompter, const std::string& folder);

// A template item of the field menu: takes the snapshot, reads `fileName` (as listed, with
// ".templet") from the template folder (or `folder`) and makes the table's columns the template's:
// Cols = the template's count, row 0 its titles; cells keep their places. A file that is not a
// template gets "模版文件格式错误!" and leaves the table as it was (the snapshot still enables Undo).
bool ApplyFieldTemplate(Document& document, std::string_view fileName, Prompter& prompter);
bool ApplyFieldTemplate(Document& document, std::string_view fileName, Prompter& prompter,
                        const std::string& folder);

// The template items of the field menu: the file names of the template folder's templates (creating
// the folder when it is missing).
std::vector<std::string> TemplateMenuItems();

}  // namespace scorvane
