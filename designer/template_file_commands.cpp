#include "designer/template_file_commands.h"

#include "common/file_io.h"
#include "common/report_template.h"

namespace scorvane::designer {
namespace {

// The unsaved-changes question: true when the command may go on.
bool mayDiscard(const TemplateDocument& doc, Prompter& prompter, std::string_view question) {
    if (!doc.changed) {
        return true;
    }
    return prompter.ask(question, "提示", Buttons::YesNo, Icon::Question, Answer::Yes) == Answer::Yes;
}

FileDialogSpec templateDialog(bool save) {
    FileDialogSpec spec;
    spec.description = std::string(kTemplateFilterDescription);
    spec.pattern = std::string(kTemplatePattern);
    spec.confirmOverwrite = save;
    return spec;
}

bool writeTo(TemplateDocument& doc, const std::string& path, Prompter& prompter) {
    if (!WriteReportTemplate(doc.toReportTemplate(), path)) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return false;
    }
    doc.fileName = path;
    doc.changed = false;
    return true;
}

}  // namespace

bool NewTemplate(TemplateDocument& doc, Prompter& prompter) {
    if (!mayDiscard(doc, prompter, kNewQuestion)) {
        return false;
    }
    doc.clearContents();
    doc.fileName.clear();
    doc.changed = false;
    return true;
}

bool OpenTemplate(TemplateDocument& doc, Prompter& prompter) {
    if (!mayDiscard(doc, prompter, kOpenQuestion)) {
        return false;
    }
    const std::string path = prompter.chooseOpenFile(templateDialog(false));
    if (path.empty()) {
        return false;
    }
    return OpenTemplateFile(doc, path, prompter);
}

bool OpenTemplateFile(TemplateDocument& doc, const std::string& path, Prompter& prompter) {
    ReportTemplateRecords records;
    if (!FileExists(path) || !ReadReportTemplateFile(path, records)) {
        prompter.message(kReadFailedMessage, "错误", Icon::Error);
        return false;
    }
    if (!records.hasInformation) {
        prompter.message(kFormatMessage, "提示", Icon::Information);
        return false;
    }
    doc.load(OpenReportTemplate(records));
    doc.fileName = path;
    doc.changed = false;
    return true;
}

bool SaveTemplate(TemplateDocument& doc, Prompter& prompter) {
    if (doc.fileName.empty()) {
        return SaveTemplateAs(doc, prompter);
    }
    return writeTo(doc, doc.fileName, prompter);
}

bool SaveTemplateAs(TemplateDocument& doc, Prompter& prompter) {
    const std::string path = prompter.chooseSaveFile(templateDialog(true));
    if (path.empty()) {
        return false;
    }
    return writeTo(doc, path, prompter);
}

bool MayCloseTemplate(const TemplateDocument& doc, Prompter& prompter) {
    return mayDiscard(doc, prompter, kCloseQuestion);
}

}  // namespace scorvane::designer
