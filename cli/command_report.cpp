#include <iostream>

#include "cli/cli_command.h"
#include "cli/drawing_commands.h"
#include "cli/gui_session.h"
#include "cli/table_io.h"
#include "common/qt/qt_surface.h"
#include "common/report_template.h"
#include "common/utf8.h"
#include "main/document/cell_value.h"
#include "main/document/data_file.h"
#include "common/file_io.h"
#include "main/printing/report_files.h"
#include "main/printing/report_pages.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage = kReportUsage;

// LABEL: a label's number in the label list (1 = the first) or its caption, when no other label has it.
int resolveLabel(const PrintableTemplate& report, const std::string& label) {
    long long n = 0;
    const long long count = static_cast<long long>(report.labels.size());
    if (count > 0 && ParseWholeNumber(label, 1, count, n)) {
        return static_cast<int>(n);
    }
    int found = 0;
    for (size_t i = 0; i < report.labels.size(); ++i) {
        if (report.labels[i].caption == label) {
            if (found != 0) {
                std::cerr << "有多个标签的文字是“" << label << "”，请用标签的序号（1 为第一个标签）。\n";
                return -1;
            }
            found = static_cast<int>(i) + 1;
        }
    }
    if (found == 0) {
        std::cerr << "找不到标签：" << label << "（模板共有 " << count << " 个标签）\n";
        return -1;
    }
    return found;
}

// --split: each student's page(s) in a PDF file of their own in FOLDER, none written while a file of the
// same name stands there (unless --force).
int writeSplit(const CliArgs& args, const GradeTable& table, const PrintableTemplate& report,
               const ReportBindings& bindings, const ReportSource& source, ReportRowRange rows) {
    const std::string folder = args.value("--split");
    if (!DirectoryExists(folder)) {
        std::cerr << "找不到文件夹：" << folder << "\n";
        return 1;
    }
    std::vector<ReportFile> files;
    if (auto fault = ReportFileNames(table, source.value, rows, args.value("--name", DefaultReportFilePattern(table)),
                                     files)) {
        std::cerr << *fault << "\n";
        return 1;
    }
    if (files.empty()) {
        std::cerr << "没有要打印的行。\n";
        return 1;
    }
    const std::vector<std::string> existing = ExistingReportFiles(folder, files);
    if (!existing.empty() && !args.has("--force")) {
        std::string names;
        for (const std::string& name : existing) {
            names += (names.empty() ? "" : "、") + name;
        }
        std::cerr << "以下文件已存在，没有写出任何文件（加 --force 覆盖）：" << names << "\n";
        return 1;
    }
    EnsureGuiSession();
    const ReportFilesOutcome outcome = WriteReportFiles(folder, files, existing, [&](const std::string& path, int row) {
        auto pdf = QtSurface::ForPdfFile(path, table.title);
        return DrawReportPages(*pdf, report, bindings, source, {row, row}) && pdf->endJob();
    });
    const std::string summary = ReportFilesSummary(outcome);
    if (!outcome.failed.empty() || !outcome.appeared.empty()) {
        std::cerr << summary << "\n";
        return outcome.failed.empty() ? 0 : 1;
    }
    std::cout << summary << "\n";
    return 0;
}

int runReport(const CliArgs& args) {
    const bool split = args.has("--split");
    if (args.positional.size() != 2 || split == args.has("-o") || (args.has("--row") && args.has("--rows")) ||
        (!split && (args.has("--name") || args.has("--force")))) {
        return UsageError(kUsage);
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    const GradeTable& table = document.table;
    const std::string& templatePath = args.positional[1];
    PrintableTemplate report;
    switch (ReadReportTemplate(templatePath, report)) {
        case TemplateFileStatus::Read:
            break;
        case TemplateFileStatus::Unreadable:
            std::cerr << "找不到文件：" << templatePath << "\n";
            return 1;
        case TemplateFileStatus::NotATemplate:
            std::cerr << kFormatMessage << "\n";
            return 1;
    }
    if (report.skippedRecords > 0) {
        std::cerr << SkippedRecordsMessage(report.skippedRecords) << "\n";
    }

    ReportBindings bindings;
    for (const std::string& bind : args.values("--bind")) {
        const size_t eq = bind.find('=');
        if (eq == std::string::npos) {
            return UsageError(kUsage);
        }
        const int label = resolveLabel(report, bind.substr(0, eq));
        if (label < 0) {
            return 1;
        }
        const int column = ResolveField(table, bind.substr(eq + 1));
        if (column < 0) {
            return 1;
        }
        bindings.bind(label, column, report.labels[static_cast<size_t>(label - 1)].caption,
                      table.cell(0, column));
    }

    const int dataRows = table.rows() - 1;
    ReportRowRange rows = AllReportRows(table);
    if (args.has("--row")) {
        if (!ParseDataRow(args.value("--row"), dataRows, rows.first)) {
            return 1;
        }
        rows.last = rows.first;
    } else if (args.has("--rows")) {
        const std::string range = args.value("--rows");
        const size_t dash = range.find('-');
        if (dash == std::string::npos) {
            return UsageError(kUsage);
        }
        if (!ParseDataRow(range.substr(0, dash), dataRows, rows.first) ||
            !ParseDataRow(range.substr(dash + 1), dataRows, rows.last)) {
            return 1;
        }
    }
    if (rows.first > rows.last) {
        std::cerr << "没有要打印的行。\n";
        return 1;
    }

    ReportSource source;
    source.table = &table;
    source.value = FormulaValues(table);
    if (split) {
        return writeSplit(args, table, report, bindings, source, rows);
    }
    EnsureGuiSession();
    auto pdf = QtSurface::ForPdfFile(args.value("-o"), table.title);
    SilentStatusSink status;
    return PrintReport(*pdf, report, bindings, source, rows, prompter, status) ? 0 : 1;
}

DrawingRun run("report", runReport);

}  // namespace
}  // namespace scorvane::cli
