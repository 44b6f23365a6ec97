#pragma once

#include <functional>
#include <string_view>

#include "common/prompter.h"
#include "main/document/document.h"

namespace scorvane {

// The dialogs the new-table wizard opens in turn, each modally on the new table. A step left empty is
// passed over (its message is still shown).
struct NewTableWizardSteps {
    std::function<void()> classInfo;     // 班级信息设置
    std::function<void()> dataFormat;    // 表格数据格式
    std::function<void()> fieldManager;  // 字段编辑器
};

// "新建表格向导>>>" on a class of the tree whose folder lists `filesListed` tables: the introduction, the
// file name (the table's file path goes into the class's folder; the title is not taken from it), the
// class information, the data format, the title (asked again while empty), the fields, and the closing
// message; every message is an information box titled "提示". Nothing is saved.
void RunNewTableWizard(Document& document, Prompter& prompter, std::string_view classFullPath,
                       int filesListed, const NewTableWizardSteps& steps);

}  // namespace scorvane
