#include "designer/template_document.h"

#include <algorithm>
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

bool ShowMovedLabelsWhole(TemplateDocument& doc,
                          const std::function<std::pair<double, double>(size_t)>& wholeSize) {
    if (doc.labelsMovedOntoPage.empty()) {
        return false;
    }
    for (size_t i : doc.labelsMovedOntoPage) {
        const auto [width, height] = wholeSize(i);
        ShowLabelWhole(doc, i, width, height);
    }
    doc.labelsMovedOntoPage.clear();
    return true;
}

bool KeepOnPage(const TemplateDocument& doc, TemplateLabel& label) {
    return KeepLabelOnPage(label, static_cast<double>(doc.pageWidth()),
                           static_cast<double>(doc.pageHeight()));
}

int SetOrientation(TemplateDocument& doc, bool landscape) {
    doc.landscape = landscape;
    doc.markChanged();
    doc.labelsMovedOntoPage.clear();
    for (size_t i = 0; i < doc.labels.size(); ++i) {
        if (KeepOnPage(doc, doc.labels.label(i))) {
            doc.labelsMovedOntoPage.push_back(i);
        }
    }
    return static_cast<int>(doc.labelsMovedOntoPage.size());
}

void ShowLabelWhole(TemplateDocument& doc, size_t i, double width, double height) {
    if (i >= doc.labels.size()) {
        return;
    }
    TemplateLabel& label = doc.labels.label(i);
    label.left = std::max(0.0, std::min(label.left, static_cast<double>(doc.pageWidth()) - width));
    label.top = std::max(0.0, std::min(label.top, static_cast<double>(doc.pageHeight()) - height));
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
