#include <charconv>
#include <cmath>
#include <iostream>

#include "cli/cli_command.h"
#include "cli/drawing_commands.h"
#include "cli/gui_session.h"
#include "cli/table_io.h"
#include "common/qt/qt_surface.h"
#include "common/utf8.h"
#include "main/document/cell_value.h"
#include "main/printing/chart_axis.h"
#include "main/printing/charts.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage = kChartUsage;

std::vector<std::string> splitList(const std::string& list) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        size_t comma = list.find(',', start);
        std::string_view part = TrimSpaces(std::string_view(list).substr(
            start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!part.empty()) {
            parts.emplace_back(part);
        }
        if (comma == std::string::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

// Rows "3", or ranges "5-9", joined by ",".
bool parseRows(const std::string& list, int dataRows, std::vector<int>& rows) {
    for (const std::string& part : splitList(list)) {
        long long a = 0;
        long long b = 0;
        const size_t dash = part.find('-', 1);
        const bool ok =
            dash == std::string::npos
                ? ParseWholeNumber(part, 1, dataRows, a) && (b = a, true)
                : ParseWholeNumber(TrimSpaces(std::string_view(part).substr(0, dash)), 1, dataRows, a) &&
                      ParseWholeNumber(TrimSpaces(std::string_view(part).substr(dash + 1)), 1, dataRows, b);
        if (!ok) {
            std::cerr << "没有第 " << part << " 行（共 " << dataRows << " 行）。\n";
            return false;
        }
        for (long long r = a; a <= b ? r <= b : r >= b; r += a <= b ? 1 : -1) {
            rows.push_back(static_cast<int>(r));
        }
    }
    return true;
}

bool parseNumber(const std::string& option, const std::string& text, double& out) {
    std::string_view t = TrimSpaces(text);
    double v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) {
        std::cerr << "选项 " << option << " 需要一个数：" << text << "\n";
        return false;
    }
    out = v;
    return true;
}

std::string lowerExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    return ToLowerAscii(path.substr(dot));
}

int runChart(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o") || !args.has("--type") || !args.has("--fields") ||
        !args.has("--rows")) {
        return UsageError(kUsage);
    }
    const std::string type = args.value("--type");
    ChartType chartType;
    if (type == "bar") {
        chartType = ChartType::Bar;
    } else if (type == "line-up") {
        chartType = ChartType::LineUp;
    } else if (type == "line-down") {
        chartType = ChartType::LineDown;
    } else {
        return UsageError(kUsage);
    }
    const std::string out = args.value("-o");
    const std::string extension = lowerExtension(out);
    if (extension != ".pdf" && extension != ".png" && extension != ".bmp") {
        std::cerr << "输出文件须为 .pdf、.png 或 .bmp：" << out << "\n";
        return 1;
    }

    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    const GradeTable& table = document.table;
    if (table.cols() < 2) {
        std::cerr << "表格没有字段。\n";
        return 1;
    }

    ChartData data;
    for (const std::string& field : splitList(args.value("--fields"))) {
        const int column = ResolveField(table, field);
        if (column < 0) {
            return 1;
        }
        data.fields.push_back(column);
        data.fieldNames.push_back(table.cell(0, column));
    }
    const int labelColumn = args.has("--label-field") ? ResolveField(table, args.value("--label-field")) : 1;
    if (labelColumn < 0 || !parseRows(args.value("--rows"), table.rows() - 1, data.rows)) {
        return 1;
    }
    const CellValueFn values = FormulaValues(table);
    for (int row : data.rows) {
        data.rowLabels.push_back(values(row, labelColumn));
    }
    long long whole = 0;
    if (args.has("--max")) {
        if (!ParseWholeNumber(args.value("--max"), 0, 1000000000, whole)) {
            std::cerr << "选项 --max 需要一个不小于 0 的整数：" << args.value("--max") << "\n";
            return 1;
        }
        data.maximum = static_cast<double>(whole);
    }
    if (args.has("--segments")) {
        if (!ParseWholeNumber(args.value("--segments"), 0, 1000, whole)) {
            std::cerr << "选项 --segments 需要一个 0 到 1000 的整数：" << args.value("--segments") << "\n";
            return 1;
        }
        data.segments = static_cast<int>(whole);
    }
    if (args.has("--min") && !parseNumber("--min", args.value("--min"), data.minimum)) {
        return 1;
    }
    // Without --max the axis is the one the chart window offers (100 while no value exceeds it), and
    // without either its minimum too.
    const ChartAxis offered = OfferedChartAxis(ChartedValues(data, chartType, values), chartType);
    if (!args.has("--max")) {
        data.maximum = offered.maximum;
        if (!args.has("--min")) {
            data.minimum = offered.minimum;
        }
    }
    data.title = args.has("--title") ? args.value("--title") : table.title;
    data.printTime = NowChartPrintTimeText();

    EnsureGuiSession();
    if (extension == ".pdf") {
        auto pdf = QtSurface::ForPdfFile(out, data.title);
        return PrintChart(*pdf, chartType, data, values, prompter) ? 0 : 1;
    }
    auto picture = QtSurface::ForImage(kChartPreviewWidth, kChartPreviewHeight);
    if (!PreviewChart(*picture, chartType, data, values, prompter)) {
        return 1;
    }
    if (!picture->saveImage(out)) {
        std::cerr << kPrintErrorMessage << "\n";
        return 1;
    }
    return 0;
}

DrawingRun run("chart", runChart);

}  // namespace
}  // namespace scorvane::cli
