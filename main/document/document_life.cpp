#include "main/document/document_life.h"

#include "common/file_dialog_start.h"
#include "common/file_sharing.h"
#include "common/shared_write.h"
#include "common/utf8.h"
#include "main/document/new_table.h"
#include "main/document/open_table.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane {
namespace {

// The data file of the document's own path: the file it claims when that is still its path (also
// when the file is gone), else the file the path names now.
std::string ownFile(const Document& document) {
    const std::string& claimed = document.file.path();
    if (!claimed.empty() && DataPathOf(claimed) == document.table.filePath) {
        return claimed;
    }
    return DataFileOf(document.table.filePath);
}

SaveOutcome saveThroughDialog(Document& document, Prompter& prompter, StatusSink& status,
                              const std::string& classFolder, std::string_view title = {});

// "保存表格" to the document's own file: the overwrite question, and, for a file the document claims, a
// last look at it before writing: a change made meanwhile asks the changed-on-disk question.
SaveOutcome saveToOwnFile(Document& document, Prompter& prompter, StatusSink& status) {
    if (TrimSpaces(document.table.filePath).empty()) {
        return SaveData(document, false, document.table.filePath, prompter, status);  // says it failed
    }
    const std::string file = ownFile(document);
    WriteTarget target;
    target.path = file;
    if (document.file.claims(file)) {
        target.ownState = &document.file.state();
        target.changedQuestion = ChangedQuestion(kTableKind, SharedTableName(document));
    }
    target.mayReplace = [&prompter] { return ConfirmOverwrite(prompter); };
    target.identity = &document.file.identity();
    switch (PrepareToWrite(target, prompter)) {
        case BeforeWriting::Write:
        case BeforeWriting::WriteAgain:
            break;
        case BeforeWriting::FolderGone:
            // The class was removed (on another computer): the folder is not made again behind the
            // school's back.
            prompter.message(kSaveFailedMessage, "错误", Icon::Error);
            return SaveOutcome::Failed;
        case BeforeWriting::SaveElsewhere:
            return saveThroughDialog(document, prompter, status, {});
        case BeforeWriting::Cancelled:
            return SaveOutcome::Declined;
    }
    FileState written;
    const SaveOutcome outcome = WriteTableFile(document, file, false, prompter, status, &written);
    if (outcome == SaveOutcome::Saved) {
        // The first save of a table to its own file makes the file the document's, with its lock.
        document.file.movedTo(file, written);
    }
    return outcome;
}

SaveOutcome saveThroughDialog(Document& document, Prompter& prompter, StatusSink& status,
                              const std::string& classFolder, std::string_view title) {
    FileDialogSpec dialog = TableSaveDialog(document.table, classFolder);
    dialog.title = title;
    std::string chosen = prompter.chooseSaveFile(dialog);
    if (chosen.empty()) {
        return SaveOutcome::Declined;
    }
    const std::string path = DataPathOf(chosen);
    const std::string file = DataFileOf(path);
    // The table's own file, under whatever name it was chosen, is saved as 保存表格 saves it.
    if (document.file.claims(file)) {
        if (document.file.readOnly()) {
            prompter.message(ReadOnlySameFileMessage(kTableKind), "提示", Icon::Information);
            return SaveOutcome::Declined;
        }
        return saveToOwnFile(document, prompter, status);
    }
    // A save under another name writes a copy there: the window stays with its own file (the file path
    // is not changed by a dialog save) and keeps its lock.
    return WriteTableFile(document, file, true, prompter, status);
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
    if (document.file.readOnly()) {
        return saveThroughDialog(document, prompter, status, classFolder, ReadOnlySaveTitle(kTableKind));
    }
    if (!document.table.filePath.empty()) {
        return saveToOwnFile(document, prompter, status);
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
    return active ? "当前表格：" + ReadOnlyCaption(active->table.title, active->file)
                  : std::string("当前表格：无");
}

}  // namespace scorvane
