#include "main/printing/report_printing.h"

#include <algorithm>

#include "common/utf8.h"
#include "main/document/data_file.h"

namespace scorvane {

ReportPrinting::ReportPrinting(ReportSource source) : source_(std::move(source)) {
    const GradeTable& table = *source_.table;
    for (int c = 1; c < table.cols(); ++c) {
        fieldNames_.emplace_back(TrimSpaces(table.cell(0, c)));
    }
}

int ReportPrinting::rowCount() const {
    return std::max(0, source_.table->rows() - 1);
}

bool ReportPrinting::openTemplate(Prompter& prompter) {
    const std::string path = prompter.openFile("*.rvx", "打开");
    if (path.empty()) {
        return false;
    }
    return openTemplateFile(path, prompter);
}

bool ReportPrinting::openTemplateFile(const std::string& path, Prompter& prompter) {
    PrintableTemplate report;
    switch (ReadReportTemplate(path, report)) {
        case TemplateFileStatus::Read:
            break;
        case TemplateFileStatus::Unreadable:
            prompter.message("文件读取失败！", "错误", Icon::Error);
            return false;
        case TemplateFileStatus::NotATemplate:
            prompter.message(kFormatMessage, "提示", Icon::Information);
            return false;
    }
    report_ = std::move(report);
    bindings_.clear();
    hasTemplate_ = true;
    if (report_.skippedRecords > 0) {
        prompter.message(SkippedRecordsMessage(report_.skippedRecords), "提示", Icon::Information);
    }
    return true;
}

std::vector<std::string> ReportPrinting::labelCaptions() const {
    std::vector<std::string> captions;
    captions.reserve(report_.labels.size());
    for (const TemplateLabel& label : report_.labels) {
        captions.push_back(label.caption);
    }
    return captions;
}

bool ReportPrinting::bind(int label, int field) {
    if (label < 1 || static_cast<size_t>(label) > report_.labels.size() || field < 1 ||
        static_cast<size_t>(field) > fieldNames_.size()) {
        return false;
    }
    return bindings_.bind(label, field, report_.labels[static_cast<size_t>(label) - 1].caption,
                          fieldNames_[static_cast<size_t>(field) - 1]);
}

void ReportPrinting::drawTemplate(DrawingSurface& picture, int marked) const {
    picture.setSize(report_.landscape ? kA4Height : kA4Width, report_.landscape ? kA4Width : kA4Height);
    picture.clear();
    DrawReportPage(picture, report_, [&](size_t i) { return report_.labels[i].caption; });
    if (marked >= 1 && static_cast<size_t>(marked) <= report_.labels.size()) {
        constexpr double kMarkMargin = 30;
        const TemplateLabel& label = report_.labels[static_cast<size_t>(marked) - 1];
        picture.setFont(label.surfaceFont());
        const double width = std::max(picture.textWidth(label.caption), 120.0);
        const double height = picture.textHeight(label.caption);
        picture.setLineWidth(1);
        picture.drawBox(label.left - kMarkMargin, label.top - kMarkMargin, label.left + width + kMarkMargin,
                        label.top + height + kMarkMargin, Rgb(255, 0, 0));
    }
}

void ReportPrinting::drawPages(DrawingSurface& printer, ReportRowRange rows) const {
    DrawReportPages(printer, report_, bindings_, source_, rows);
}

ReportRowRange ChosenReportRows(ReportRangeChoice choice, int oneRow, int fromRow, int toRow, int rowCount) {
    switch (choice) {
        case ReportRangeChoice::OneRow:
            return {oneRow, oneRow};
        case ReportRangeChoice::FromTo:
            return {fromRow, toRow};
        case ReportRangeChoice::AllRows:
            break;
    }
    return {1, rowCount};
}

int KeptRangeEnd(int fromRow, int toRow) {
    return std::max(fromRow, toRow);
}

}  // namespace scorvane
