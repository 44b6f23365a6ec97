#include "designer/template_file_commands.h"

#include "common/report_template.h"
#include "common/save_name.h"

namespace scorvane::designer {
namespace {

// The unsaved-changes question: true when the command may go on.
bool mayDiscard(const TemplateDocument& doc, Prompter& prompter, std::string_view question) {
    if (!doc.changed) {
        return true;
    }
    return prompter.ask(question, "提示", Buttons::YesNo, Icon::Question, Answer::Yes) == Answer::Yes;
}

FileDialogSpec templateDialog() {
    FileDialogSpec spec;
    spec.description = std::string(kTemplateFilterDescription);
    spec.pattern = std::string(kTemplatePattern);
    return spec;
}

bool writeTo(TemplateDocument& doc, const std::string& path, Prompter& prompter) {
    if (!WriteReportTemplate(doc.toReportTemplate(), path)) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return false;
    }
    doc.fileName = path;
    doc.setChanged(false);
    return true;
}

}  // namespace

bool NewTemplate(TemplateDocument& doc, Prompter& prompter) {
    if (!mayDiscard(doc, prompter, kNewQuestion)) {
        return false;
    }
    doc.clearContents();
    doc.fileName.clear();
    doc.setChanged(false);
    return true;
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
    std::vector<size_t> moved;
    doc.load(OpenReportTemplate(read, &moved));
    doc.labelsMovedOntoPage = moved;
    doc.fileName = path;
    doc.setChanged(false);
    std::string said;
    if (read.skippedRecords > 0) {
        said = SkippedRecordsMessage(read.skippedRecords);
    }
    if (!moved.empty()) {
        said += (said.empty() ? "" : " ") + MovedLabelsMessage(static_cast<int>(moved.size()));
    }
    status.setStatus(said.empty() ? kStatusReady : std::string_view(said));
    return true;
}

bool SaveTemplate(TemplateDocument& doc, Prompter& prompter) {
    if (doc.fileName.empty()) {
        return SaveTemplateAs(doc, prompter);
    }
    return writeTo(doc, doc.fileName, prompter);
}

bool SaveTemplateAs(TemplateDocument& doc, Prompter& prompter) {
    // The overwrite question is asked of the name as completed, not as typed.
    const std::string chosen = prompter.chooseSaveFile(templateDialog());
    if (chosen.empty()) {
        return false;
    }
    const std::string path = WithExtensionIfBare(chosen, kTemplateExtension);
    if (!MayReplaceFile(path, prompter)) {
        return false;
    }
    return writeTo(doc, path, prompter);
}

bool MayCloseTemplate(const TemplateDocument& doc, Prompter& prompter) {
    return mayDiscard(doc, prompter, kCloseQuestion);
}

}  // namespace scorvane::designer
