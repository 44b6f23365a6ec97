#include "designer/template_file_commands.h"

#include <filesystem>

#include "common/file_sharing.h"
#include "common/report_template.h"
#include "common/save_name.h"
#include "common/shared_write.h"

namespace scorvane::designer {
namespace {

// The unsaved-changes question: true when the command may go on. Enter and Escape answer No, so that
// no key pressed in haste throws the template away.
bool mayDiscard(const TemplateDocument& doc, Prompter& prompter, std::string_view question) {
    if (!doc.changed) {
        return true;
    }
    return prompter.ask(question, "提示", Buttons::YesNo, Icon::Question, Answer::No) == Answer::Yes;
}

FileDialogSpec templateDialog() {
    FileDialogSpec spec;
    spec.description = std::string(kTemplateFilterDescription);
    spec.pattern = std::string(kTemplatePattern);
    return spec;
}

bool writeTo(TemplateDocument& doc, const std::string& path, Prompter& prompter) {
    FileState written;
    if (!WriteReportTemplate(doc.toReportTemplate(), path, &written)) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return false;
    }
    doc.fileName = path;
    doc.file.movedTo(path, written);
    doc.setChanged(false);
    return true;
}

bool saveAs(TemplateDocument& doc, Prompter& prompter, const FileDialogSpec& dialog);

// Writes `path` after PrepareToWrite: the template's own file (one it claims) is looked at last and
// compared with what the designer read or wrote; another file asks the overwrite question
// (MayReplaceFile) when `askReplace`, or the held question when another program has it open.
bool saveTo(TemplateDocument& doc, const std::string& path, bool askReplace, Prompter& prompter) {
    WriteTarget target;
    target.path = path;
    if (doc.file.claims(path)) {
        target.ownState = &doc.file.state();
        target.changedQuestion = ChangedQuestion(kTemplateKind, SharedTemplateName(path));
    }
    if (askReplace) {
        target.mayReplace = [&prompter, &path] { return MayReplaceFile(path, prompter); };
    }
    target.identity = &doc.file.identity();
    switch (PrepareToWrite(target, prompter)) {
        case BeforeWriting::Write:
        case BeforeWriting::WriteAgain:
            return writeTo(doc, path, prompter);
        case BeforeWriting::FolderGone:
            prompter.message(kSaveFailedMessage, "错误", Icon::Error);
            return false;
        case BeforeWriting::SaveElsewhere: {
            // Offered where the template is, under its name.
            FileDialogSpec dialog = templateDialog();
            dialog.folder = FolderOfPath(path);
            dialog.suggestedName = std::filesystem::path(path).filename().string();
            return saveAs(doc, prompter, dialog);
        }
        case BeforeWriting::Cancelled:
            return false;
    }
    return false;
}

bool saveAs(TemplateDocument& doc, Prompter& prompter, const FileDialogSpec& dialog) {
    // The overwrite question is asked of the name as completed, not as typed.
    const std::string chosen = prompter.chooseSaveFile(dialog);
    if (chosen.empty()) {
        return false;
    }
    const std::string path = WithExtensionIfBare(chosen, kTemplateExtension);
    if (doc.file.claims(path) && doc.file.readOnly()) {
        prompter.message(ReadOnlySameFileMessage(kTemplateKind), "提示", Icon::Information);
        return false;
    }
    return saveTo(doc, path, true, prompter);
}

}  // namespace

bool NewTemplate(TemplateDocument& doc, Prompter& prompter) {
    if (!mayDiscard(doc, prompter, kNewQuestion)) {
        return false;
    }
    doc.clearContents();
    doc.fileName.clear();
    doc.file.release();
    doc.setChanged(false);
    return true;
}

std::string SharedTemplateName(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

bool OpenTemplate(TemplateDocument& doc, Prompter& prompter, StatusSink& status) {
    if (!mayDiscard(doc, prompter, kOpenQuestion)) {
        return false;
    }
    const std::string path = prompter.chooseOpenFile(templateDialog());
    if (path.empty()) {
        return false;
    }
    return OpenTemplateFile(doc, path, prompter, status);
}

bool OpenTemplateFile(TemplateDocument& doc, const std::string& path, Prompter& prompter,
                      StatusSink& status) {
    const FileState state = TakeFileState(path);
    PrintableTemplate read;
    switch (ReadReportTemplate(path, read)) {
        case TemplateFileStatus::Read:
            break;
        case TemplateFileStatus::Unreadable:
            prompter.message(kReadFailedMessage, "错误", Icon::Error);
            return false;
        case TemplateFileStatus::NotATemplate:
            prompter.message(kFormatMessage, "提示", Icon::Information);
            return false;
    }
    // The template's own file opened again keeps the lock it holds.
    OpenClaim claim;
    claim.mode = doc.file.readOnly() ? OpenClaim::Mode::ReadOnly : OpenClaim::Mode::Normal;
    if (!doc.file.claims(path)) {
        claim = ClaimForOpening(path, kTemplateKind, SharedTemplateName(path), doc.file.identity(), prompter);
        if (claim.mode == OpenClaim::Mode::Cancelled) {
            return false;
        }
    }
    std::vector<size_t> moved;
    doc.load(OpenReportTemplate(read, &moved));
    doc.labelsMovedOntoPage = moved;
    doc.fileName = path;
    if (doc.file.claims(path)) {
        doc.file.written(state);
    } else {
        doc.file.opened(path, state, std::move(claim.lock), claim.mode == OpenClaim::Mode::ReadOnly,
                        std::move(claim.note));
    }
    doc.setChanged(false);
    std::string said = doc.file.note();
    if (read.skippedRecords > 0) {
        said += (said.empty() ? "" : " ") + SkippedRecordsMessage(read.skippedRecords);
    }
    if (!moved.empty()) {
        said += (said.empty() ? "" : " ") + MovedLabelsMessage(static_cast<int>(moved.size()));
    }
    status.setStatus(said.empty() ? kStatusReady : std::string_view(said));
    return true;
}

bool SaveTemplate(TemplateDocument& doc, Prompter& prompter) {
    if (doc.file.readOnly()) {
        FileDialogSpec dialog = templateDialog();
        dialog.title = ReadOnlySaveTitle(kTemplateKind);
        return saveAs(doc, prompter, dialog);
    }
    if (doc.fileName.empty()) {
        return SaveTemplateAs(doc, prompter);
    }
    return saveTo(doc, doc.fileName, false, prompter);
}

bool SaveTemplateAs(TemplateDocument& doc, Prompter& prompter) {
    return saveAs(doc, prompter, templateDialog());
}

bool MayCloseTemplate(const TemplateDocument& doc, Prompter& prompter) {
    return mayDiscard(doc, prompter, kCloseQuestion);
}

}  // namespace scorvane::designer
