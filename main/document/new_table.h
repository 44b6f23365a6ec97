#pragma once

#include <string>
#include <string_view>

#include "common/prompter.h"
#include "main/document/document.h"

namespace scorvane {

// How a new table comes into being: the file name it is given in a class, its title, and the texts
// of the new-table wizard.

enum class NameWording { NewOnly, Wizard };

inline constexpr std::string_view kEmptyFileNameMessage = "文件名称不能为空！请重新输入。";
inline constexpr std::string_view kEmptyTitleMessage = "标题不能为空！";
inline constexpr std::string_view kChangeTitlePrompt =
    "请输入新的表格标题，它可以用于将表格文件更名保存，同时，被更改的标题也将在打印中体现出来。";

// The wizard's messages (information boxes), in order.
inline constexpr std::string_view kWizardIntro =
    "下面将显示一系列的窗口，以帮助您快速的设置完表格的各个信息。";
inline constexpr std::string_view kWizardClassInfo = "下面，首先将设置班级的人数，班主任等信息。";
inline constexpr std::string_view kWizardDataFormat =
    "接下来，我们开始设置使用公式时的数据格式，即数值的格式。如：小数位数等。";
inline constexpr std::string_view kWizardTitle = "然后，是对表格标题的设置，它也是打印时所使用的标题。";
inline constexpr std::string_view kWizardFields =
    "最后，我们要设置表格的项目，也就是平时所说的字段。你可以使用项目管理器编辑表格的项目，也可以在表格的"
    "“成绩表字段模版”菜单下，选择已存在的字段模版。";
inline constexpr std::string_view kWizardDone =
    "至此，一张新的表格就已经设置完成！接下来，可以输入数据了。你可以通过右键菜单里的项目来简化你的操作过程"
    "。";

// The file name offered for a new table: "新成绩表" and the number of the class's files minus one
// (新成绩表2 with three files, 新成绩表-1 with none).
std::string DefaultNewTableName(int filesListed);

// Asks for the new table's file name until the answer is one: an answer empty after trimming (cancel
// included) gets "文件名称不能为空！请重新输入。", one with / \ * : ? < > | " the illegal-characters
// message; each time the box is shown again. Returns the name trimmed of spaces.
std::string PromptNewTableName(Prompter& prompter, NameWording wording, std::string_view defaultName);

// "直接新建表格" on a class: asks for the file name, sets the table's file path (in the class's folder,
// see ClassTablePath) and its caption to the name. Nothing is saved.
void NewTableInClass(Document& document, Prompter& prompter, std::string_view classFullPath, int filesListed);

// The wizard's file name step: as above, but the caption stays as it is.
void WizardNameStep(Document& document, Prompter& prompter, std::string_view classFullPath, int filesListed);

// The wizard's title step: asks until the answer is not empty ("标题不能为空！"), offering the
// current caption, and makes the answer the caption.
void WizardTitleStep(Document& document, Prompter& prompter);

}  // namespace scorvane
