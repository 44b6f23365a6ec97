#include "designer/sample_print.h"

#include "common/report_page.h"

namespace scorvane::designer {

PrintableTemplate SamplePageTemplate(const TemplateDocument& doc) {
    return PrintableReportTemplate(ParseReportTemplate(SerializeReportTemplate(doc.toReportTemplate())));
}

void DrawSamplePage(const TemplateDocument& doc, DrawingSurface& printer) {
    const PrintableTemplate page = SamplePageTemplate(doc);
    printer.setOrientation(page.landscape ? PageOrientation::Landscape : PageOrientation::Portrait);
    DrawReportPage(printer, page, [&page](size_t i) { return page.labels[i].caption; });
}

std::string SampleJobName(const TemplateDocument& doc) {
    if (doc.fileName.empty()) {
        return "报表样张";
    }
    const size_t slash = doc.fileName.find_last_of("/\\");
    return slash == std::string::npos ? doc.fileName : doc.fileName.substr(slash + 1);
}

}  // namespace scorvane::designer
