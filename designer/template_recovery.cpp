#include "designer/template_recovery.h"

#include "common/text_codec.h"
#include "designer/template_file_commands.h"

namespace scorvane::designer {

std::string TemplateCopyBytes(const ReportTemplate& report) {
    return EncodeGbk(SerializeReportTemplate(report));
}

RecoveryInfo TemplateCopyInfo(const TemplateDocument& doc) {
    RecoveryInfo info;
    info.filePath = doc.fileName;
    const size_t slash = doc.fileName.rfind('/');
    info.title = doc.fileName.empty() ? std::string(kUntitledTemplate)
                                      : doc.fileName.substr(slash == std::string::npos ? 0 : slash + 1);
    if (doc.file.claims(doc.fileName)) {
        info.file = RecordFile(doc.file.state());
    }
    return info;
}

std::vector<TemplateCopy> FindTemplateCopies(const RecoveryFolder& folder) {
    std::vector<TemplateCopy> copies;
    for (FoundCopy& found : folder.find(kTemplateCopyExtension)) {
        TemplateCopy copy;
        copy.id = std::move(found.id);
        copy.info = std::move(found.info);
        if (found.bytes) {
            ReportTemplateRecords records = ParseReportTemplate(DecodeGbk(*found.bytes));
            if (records.hasInformation) {
                copy.records = std::move(records);
            }
        }
        copies.push_back(std::move(copy));
    }
    return copies;
}

TemplateCopyRow DescribeTemplateCopy(const TemplateCopy& copy) {
    TemplateCopyRow row;
    row.damaged = copy.damaged();
    row.name = copy.info && !copy.info->title.empty() ? copy.info->title : std::string(kUntitledTemplate);
    if (row.damaged) {
        row.name += kDamagedTemplateMark;
    }
    if (copy.info) {
        const size_t slash = copy.info->filePath.rfind('/');
        row.folder = slash == std::string::npos ? std::string() : copy.info->filePath.substr(0, slash);
        row.time = RecoveryTimeText(copy.info->time);
    }
    return row;
}

OpenClaim ClaimRecoveredTemplate(const TemplateCopy& copy, const LockIdentity& identity, Prompter& prompter) {
    if (copy.damaged() || copy.info->filePath.empty()) {
        return {};
    }
    const std::string& path = copy.info->filePath;
    return ClaimForOpening(path, kTemplateKind, SharedTemplateName(path), identity, prompter);
}

bool RecoverTemplate(TemplateDocument& doc, const TemplateCopy& copy, OpenClaim claim) {
    if (copy.damaged() || claim.mode == OpenClaim::Mode::Cancelled) {
        return false;
    }
    doc.load(OpenReportTemplate(PrintableReportTemplate(*copy.records)));
    doc.fileName = copy.info->filePath;
    if (doc.fileName.empty()) {
        doc.file.release();
    } else {
        doc.file.opened(doc.fileName, RecordedState(copy.info->file), std::move(claim.lock),
                        claim.mode == OpenClaim::Mode::ReadOnly, std::move(claim.note));
    }
    doc.markChanged();
    return true;
}

}  // namespace scorvane::designer
