#include "main/document/document_life.h"

#include "common/file_dialog_start.h"
#include "common/utf8.h"
#include "main/document/new_table.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane {
namespace {

SaveOutcome saveThroughDialog(Document& document, Prompter& prompter, StatusSink& status,
                              const std::string& classFolder) {
    std::string chosen = prompter.chooseSaveFile(TableSaveDialog(document.table, classFolder));
    if (chosen.empty()) {
        return SaveOutcome::Declined;
    }
    return SaveData(document, false, DataPathOf(chosen), prompter, status);
}

}  // namespace

bool ChangeTableTitle(Document& document, Prompter& prompter) {
    std::optional<std::string> answer = prompter.input(kChangeTitlePrompt, "更改标题", document.table.title);
    // A title of blanks alone counts as no title, as in the wizard's title step.
    if (!answer || IsBlank(*answer)) {
        return false;
    }
    if (*answer != document.table.title) {
        document.table.title = std::move(*answer);
        document.setModified();
    }
    return true;
}

std::string DataPathOf(std::string_view chosen) {
    if (chosen.size() >= kDataFileExtension.size() &&
        EqualsIgnoreCaseAscii(chosen.substr(chosen.size() - kDataFileExtension.size()), kDataFileExtension)) {
        chosen.remove_suffix(kDataFileExtension.size());
    }
    return std::string(chosen);
}

FileDialogSpec TableSaveDialog(const GradeTable& table, const std::string& classFolder) {
    std::string folder = FolderOfChosenFile(table.filePath);
    if (table.filePath.empty()) {
        folder = classFolder.empty() ? DataFolder() : classFolder;
    }
    return SaveDialogFor("*.skv", table.title, folder);
}

SaveOutcome SaveTable(Document& document, Prompter& prompter, StatusSink& status,
                      const std::string& classFolder) {
    if (!document.table.filePath.empty()) {
        return SaveData(document, false, document.table.filePath, prompter, status);
    }
    return saveThroughDialog(document, prompter, status, classFolder);
}

SaveOutcome SaveTableAs(Document& document, Prompter& prompter, StatusSink& status,
                        const std::string& classFolder) {
    return saveThroughDialog(document, prompter, status, classFolder);
}

std::string CloseQuestion(std::string_view caption) {
    std::string text = "是否更改对表格：“";
    text += caption;
    text += "”所做的修改?";
    return text;
}

bool CloseCheck(Document& document, Prompter& prompter, StatusSink& status) {
    if (!document.modified()) {
        return true;
    }
    switch (prompter.ask(CloseQuestion(document.table.title), "提示：", Buttons::YesNoCancel, Icon::Question,
                         Answer::Yes)) {
        case Answer::Yes:
            // Only a written file lets the window go: a cancelled dialog, a declined overwrite or a
            // failed save keeps the table open with its changes.
            return SaveTable(document, prompter, status) == SaveOutcome::Saved;
        case Answer::No:
            return true;
        default:
            return false;
    }
}

std::string ActiveTableStatus(const Document* active) {
    return active ? "当前表格：" + active->table.title : std::string("当前表格：无");
}

}  // namespace scorvane
