#include "designer/template_document.h"

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
}

void SetOrientation(TemplateDocument& doc, bool landscape) {
    doc.landscape = landscape;
    doc.markChanged();
}

}  // namespace scorvane::designer
