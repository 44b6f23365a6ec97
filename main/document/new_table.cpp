#include "main/document/new_table.h"

#include "common/utf8.h"
#include "main/workspace/class_folder.h"
#include "main/workspace/utilities.h"

namespace scorvane {
namespace {

constexpr std::string_view kTitleHint = "提示";

std::string askNameAndPath(Document& document, Prompter& prompter, NameWording wording,
                           std::string_view classFullPath, int filesListed) {
    std::string name = PromptNewTableName(prompter, wording, DefaultNewTableName(filesListed));
    document.table.filePath = ClassTablePath(classFullPath, name);
    return name;
}

}  // namespace

std::string DefaultNewTableName(int filesListed) {
    return "新成绩表" + std::to_string(filesListed - 1);
}

std::string PromptNewTableName(Prompter& prompter, NameWording wording, std::string_view defaultName) {
    const std::string_view prompt =
        wording == NameWording::NewOnly
            ? "请输入新表格要使用的文件名称，可以使用中文，这要可以使该表格更易于管理。同时该文件名也将暂时作"
              "为表格的标题。"
            : "请输入新表格要使用的文件名称，可以使用中文，这要可以使该表格更易于管理。";
    while (true) {
        std::optional<std::string> answer = prompter.input(prompt, "表格", defaultName);
        std::string_view name = answer ? TrimSpaces(*answer) : std::string_view();
        if (IsBlank(name)) {
            prompter.message(kEmptyFileNameMessage, kTitleHint, Icon::Information);
        } else if (!IsValidFileName(name)) {
            prompter.message(kIllegalFileNameMessage, kTitleHint, Icon::Information);
        } else {
            return std::string(name);
        }
    }
}

void NewTableInClass(Document& document, Prompter& prompter, std::string_view classFullPath,
                     int filesListed) {
    document.table.title =
        askNameAndPath(document, prompter, NameWording::NewOnly, classFullPath, filesListed);
}

void WizardNameStep(Document& document, Prompter& prompter, std::string_view classFullPath, int filesListed) {
    askNameAndPath(document, prompter, NameWording::Wizard, classFullPath, filesListed);
}

void WizardTitleStep(Document& document, Prompter& prompter) {
    while (true) {
        std::optional<std::string> answer =
            prompter.input(kChangeTitlePrompt, "更改标题", document.table.title);
        if (answer && !IsBlank(*answer)) {
            document.table.title = std::move(*answer);
            return;
        }
        prompter.message(kEmptyTitleMessage, kTitleHint, Icon::Information);
    }
}

}  // namespace scorvane
