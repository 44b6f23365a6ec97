#include "designer/template_document.h"

#include <filesystem>

namespace scorvane::designer {

ReportTemplate TemplateDocument::toReportTemplate() const {
    ReportTemplate report;
    report.landscape = landscape;
    report.lineRecords = lines.records();
    report.labels = labels.labels();
    return report;
}

void TemplateDocument::load(ReportTemplate report) {
    clearContents();
    landscape = report.landscape;
    for (size_t i = 0; i < report.lineRecords.size(); ++i) {
        lines.append(std::move(report.lineRecords[i]), LineStore::ReadName(i));
    }
    for (size_t i = 0; i < report.labels.size(); ++i) {
        labels.append(std::move(report.labels[i]), LabelStore::ListName(i));
    }
    lines.selectLast();
    labels.selectLast();
}

void TemplateDocument::clearContents() {
    lines.clear();
    labels.clearVisible();
    lastAddedLabel = -1;
}

bool KeepOnPage(const TemplateDocument& doc, TemplateLabel& label) {
    return KeepLabelOnPage(label, static_cast<double>(doc.pageWidth()),
                           static_cast<double>(doc.pageHeight()));
}

int SetOrientation(TemplateDocument& doc, bool landscape) {
    doc.landscape = landscape;
    doc.markChanged();
    int moved = 0;
    for (size_t i = 0; i < doc.labels.size(); ++i) {
        moved += KeepOnPage(doc, doc.labels.label(i)) ? 1 : 0;
    }
    return moved;
}

std::string DocumentTitle(const TemplateDocument& doc) {
    if (doc.fileName.empty()) {
        return std::string(kUntitled);
    }
    return std::filesystem::path(doc.fileName).filename().string();
}

std::string MovedLabelsMessage(int count) {
    return "有 " + std::to_string(count) + " 个文字标签超出纸张，已移到纸张边缘。";
}

}  // namespace scorvane::designer
