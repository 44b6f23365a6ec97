#include "main/document/field_commands.h"

#include <algorithm>

#include "common/utf8.h"
#include "main/document/data_file.h"
#include "main/document/field_template.h"
#include "main/workspace/utilities.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane {
namespace {

constexpr std::string_view kTitleHint = "提示";

// The title prompt of rename; `snapshot` is false when it follows an insert, whose snapshot must stay
// the one Undo returns to.
bool renameAt(Document& document, int col, Prompter& prompter, bool snapshot) {
    GradeTable& table = document.table;
    std::optional<std::string> answer = AskFieldTitle(prompter, "请输入新的字段名称：", "字段名称",
                                                      std::string(TrimSpaces(table.cell(0, col))));
    if (!answer) {
        return false;
    }
    if (snapshot) {
        document.takeSnapshot();
    }
    table.setCell(0, col, std::move(*answer));
    RebuildHeaderLayout(table);
    document.setModified();
    return true;
}

}  // namespace

void RebuildHeaderLayout(GradeTable& table) {
    table.setHeaderLayout(table.composeHeaderLayout(true));
}

int FieldCommandColumn(const GradeTable& table, int currentCol) {
    return std::clamp(currentCol, 1, std::max(1, table.cols() - 1));
}

int InsertColumn(Document& document, int currentCol, Prompter& prompter) {
    GradeTable& table = document.table;
    if (table.cols() >= GradeTable::kMaxCount) {
        return -1;
    }
    // With no fields the new column is the first field.
    const int col = std::clamp(currentCol, 1, table.cols());
    document.takeSnapshot();
    table.insertColumn(col);
    RebuildHeaderLayout(table);
    document.setModified();
    renameAt(document, col, prompter, false);
    return col;
}

bool RemoveColumn(Document& document, int currentCol) {
    GradeTable& table = document.table;
    if (table.cols() <= 1) {
        return false;
    }
    const int col = FieldCommandColumn(table, currentCol);
    document.takeSnapshot();
    table.removeColumn(col);
    RebuildHeaderLayout(table);
    document.setModified();
    return true;
}

bool RenameColumn(Document& document, int currentCol, Prompter& prompter) {
    if (document.table.cols() <= 1) {
        return false;
    }
    return renameAt(document, FieldCommandColumn(document.table, currentCol), prompter, true);
}

std::optional<std::string> AskFieldTitle(Prompter& prompter, std::string_view prompt, std::string_view title,
                                         std::string offered) {
    while (true) {
        std::optional<std::string> answer = prompter.input(prompt, title, offered);
        if (!answer || answer->empty()) {
            return std::nullopt;
        }
        if (answer->find('|') == std::string::npos) {
            return answer;
        }
        prompter.message(kFieldTitleBarMessage, kTitleHint, Icon::Information);
        offered = std::move(*answer);
    }
}

bool SaveFieldTemplate(const Document& document, Prompter& prompter) {
    return SaveFieldTemplate(document, prompter, TemplateFolder());
}

bool SaveFieldTemplate(const Document& document, Prompter& prompter, const std::string& folder) {
    std::string offered = "模版";
    std::string name;
    while (true) {
        std::optional<std::string> answer = prompter.input("请输入要保存的模版名称:", "保存模版", offered);
        if (!answer || IsBlank(*answer)) {
            return false;
        }
        name = std::string(TrimSpaces(*answer));
        if (!IsValidFileName(name)) {
            prompter.message(kIllegalFileNameMessage, kTitleHint, Icon::Information);
        } else if (!FitsFileSystemName(name, kTemplateExtension)) {
            prompter.message(kFileNameTooLongMessage, kTitleHint, Icon::Information);
        } else {
            break;
        }
        offered = std::move(*answer);
    }
    const GradeTable& table = document.table;
    FieldTemplate fields;
    fields.corner = table.rows() > 0 ? table.cell(0, 0) : std::string("  ");
    fields.titles = table.fieldTitles();
    switch (WriteFieldTemplate(folder + name + std::string(kTemplateExtension), fields)) {
        case TemplateWriteResult::Written:
            return true;
        case TemplateWriteResult::TooLong:
            prompter.message(kTemplateTooLongMessage, kTitleHint, Icon::Information);
            return false;
        case TemplateWriteResult::Failed:
            break;
    }
    prompter.message(kSaveFailedMessage, "错误", Icon::Error);
    return false;
}

bool ApplyFieldTemplate(Document& document, std::string_view fileName, Prompter& prompter) {
    return ApplyFieldTemplate(document, fileName, prompter, TemplateFolder());
}

bool ApplyFieldTemplate(Document& document, std::string_view fileName, Prompter& prompter,
                        const std::string& folder) {
    document.takeSnapshot();
    std::optional<FieldTemplate> fields;
    if (IsValidFileName(fileName)) {
        fields = ReadFieldTemplate(folder + std::string(fileName));
    }
    if (!fields) {
        prompter.message(kTemplateFormatMessage, kTitleHint, Icon::Information);
        return false;
    }
    document.table.setHeaderLayout(fields->headerLayout());
    document.setModified();
    return true;
}

std::vector<std::string> TemplateMenuItems() {
    return ListFieldTemplates(TemplateFolder());
}

}  // namespace scorvane
