#include <algorithm>

#include "common/report_template.h"
#include "common/text_codec.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"

namespace scorvane::fuzz {

// A template reads into records in proportion to its size, opens in the designer and for printing with
// font sizes the font dialog offers and every label on the page, and what the designer saves reads back
// to the same labels and the same file.
int FuzzReportTemplate(const uint8_t* data, size_t size) {
    const std::string text = DecodeGbk(Bytes(data, size));
    const ReportTemplateRecords records = ParseReportTemplate(text);
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    Check(records.lineRecords.size() <= 2 * lines && records.labelRecords.size() <= 2 * lines,
          "records in proportion to the file");

    const PrintableTemplate printable = PrintableReportTemplate(records);
    Check(printable.lines.size() + printable.labels.size() + static_cast<size_t>(printable.skippedRecords) ==
              records.lineRecords.size() + records.labelRecords.size(),
          "every record is printed or passed over");
    for (const TemplateLabel& label : printable.labels) {
        Check(label.fontSize >= kMinLabelFontSize && label.fontSize <= kMaxLabelFontSize,
              "font sizes as the font dialog offers them");
    }

    const ReportTemplate opened = OpenReportTemplate(printable);
    Check(opened.labels.size() == printable.labels.size(), "the designer makes one label per record read");
    const double width = opened.landscape ? kA4Height : kA4Width;
    const double height = opened.landscape ? kA4Width : kA4Height;
    for (const TemplateLabel& label : opened.labels) {
        Check(label.left >= 0 && label.left <= width && label.top >= 0 && label.top <= height,
              "the designer's labels stand on the page");
    }
    const std::string saved = SerializeReportTemplate(opened);
    const ReportTemplate reopened = OpenReportTemplate(PrintableReportTemplate(ParseReportTemplate(saved)));
    Check(reopened.lineRecords == opened.lineRecords, "line records read back as saved");
    Check(reopened.labels == opened.labels, "labels read back as saved");
    Check(SerializeReportTemplate(reopened) == saved, "a saved template reads back to the same file");
    return 0;
}

}  // namespace scorvane::fuzz
