#include "main/printing/charts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>

#include "common/fitted_text.h"
#include "common/utf8.h"

namespace scorvane {
namespace {

constexpr double kAxisLeft = 400;
constexpr double kAxisTop = 210;
constexpr double kAxisBottom = 3500;
constexpr double kAxisRight = 6540;
constexpr double kPlotWidth = kAxisRight - kAxisLeft;
constexpr double kTickTop = 3450;
constexpr double kCategoryLabelTop = 3600;
constexpr double kTitleTop = 3950;
constexpr double kPrintTimeTop = 4300;
constexpr double kPrintTimeRightMargin = 367;
constexpr double kPointRadius = 30;
constexpr SurfaceColor kGridColor = Rgb(64, 128, 128);
constexpr SurfaceColor kBarColor = Rgb(128, 128, 128);
constexpr SurfaceColor kLineColor = Rgb(128, 0, 0);

SurfaceFont Font(const char* name, double size) {
    SurfaceFont f;
    f.name = name;
    f.size = size;
    return f;
}

// Category i of m of a line chart: the last one lies on the right end of the axis.
double categoryX(int i, int m) {
    return kAxisLeft + kPlotWidth * i / m;
}

// Category i of m of a bar chart: the middle of the i-th of m equal slots along the axis, so that
// every bar, the last one too, stays between the axes and on the page (a bar centred on the axis's
// right end would run half its width past it, off the paper when there are few students).
double barX(int i, int m) {
    return kAxisLeft + kPlotWidth * (i - 0.5) / m;
}

using CategoryPosition = double (*)(int i, int m);

// Every word of a chart stays on the paper and on the preview picture: a text wider than its room is
// printed smaller (FitText). Sets the surface's font to the size the text is printed in and returns
// the text to print; the caller sets its font again afterwards.
std::string fitted(DrawingSurface& s, std::string_view text, double room) {
    FittedText f = FitText(s, text, room);
    if (f.size != s.font().size) {
        SurfaceFont font = s.font();
        font.size = f.size;
        s.setFont(font);
    }
    return std::move(f.text);
}

// The part of every chart before its data: the page, the grid with its labels, the axes and the
// categories with their ticks and labels. `gridLabel(j)` is the value of grid line j (1 = the top).
template <typename GridLabel>
void drawFrame(DrawingSurface& s, double scale, ChartOutput output, int segments, GridLabel gridLabel,
               const std::vector<std::string>& categories, CategoryPosition position) {
    if (output == ChartOutput::Preview) {
        s.clear();
    } else {
        s.setOrientation(PageOrientation::Portrait);
    }
    s.setFont(Font("宋体", 8));
    s.setTextColor(kBlack);
    s.setLineWidth(1);
    for (int j = 1; j <= segments; ++j) {
        const double y = kAxisBottom * j / segments * scale;
        s.drawLine(kAxisLeft * scale, y, kAxisRight * scale, y, kGridColor);
        // The label ends at x = 400 of the surface whatever the scale.
        const std::string text = fitted(s, " " + FormatChartAxisLabel(gridLabel(j)), kAxisLeft);
        s.setCurrentX(kAxisLeft - s.textWidth(text));
        s.setCurrentY(y - s.textHeight(text) / 2);
        s.printText(text);
        s.setFont(Font("宋体", 8));
    }
    s.drawLine(kAxisLeft * scale, kAxisTop * scale, kAxisLeft * scale, kAxisBottom * scale, kBlack);
    s.drawLine(kAxisRight * scale, kAxisBottom * scale, kAxisLeft * scale, kAxisBottom * scale, kBlack);
    const int m = static_cast<int>(categories.size());
    for (int i = 1; i <= m; ++i) {
        const double x = position(i, m) * scale;
        s.drawLine(x, kTickTop * scale, x, kAxisBottom * scale, kBlack);
        // Centred under its tick, but moved in from the edge rather than running off it.
        const std::string label = fitted(s, categories[static_cast<size_t>(i - 1)], s.width());
        const double width = s.textWidth(label);
        s.setCurrentX(std::clamp(x - width / 2, 0.0, std::max(0.0, s.width() - width)));
        s.setCurrentY(kCategoryLabelTop * scale);
        s.printText(label);
        s.setFont(Font("宋体", 8));
    }
}

// The title and the print time under the chart; the printer's job ends here.
void drawEnd(DrawingSurface& s, double scale, ChartOutput output, const ChartData& data) {
    s.setTextColor(kBlack);
    if (!data.title.empty()) {
        s.setFont(Font("黑体", 14));
        const std::string text = fitted(s, "    " + data.title, s.width());
        s.setCurrentX((s.width() - s.textWidth(text)) / 2);
        s.setCurrentY(kTitleTop * scale);
        s.printText(text);
    }
    s.setFont(Font("宋体", 8));
    const std::string time = data.printTime.empty() ? NowChartPrintTimeText() : data.printTime;
    s.setCurrentX(s.width() - kPrintTimeRightMargin - s.textWidth(time));
    s.setCurrentY(kPrintTimeTop * scale);
    s.printText(time);
    if (output == ChartOutput::Printer) {
        s.endJob();
    }
}

double cellValue(const CellValueFn& value, int row, int col) {
    return value ? ChartValue(value(row, col)) : 0;
}

double safeMaximum(const ChartData& d) {
    return d.maximum > 0 ? d.maximum : 1;
}
int safeSegments(const ChartData& d) {
    return d.segments > 0 ? d.segments : 1;
}

// The name of a line chart's row, printed at the row's last point.
struct RowName {
    std::string text;
    double size = 8;  // points: smaller when the name is wider than the chart
    double right = 0, width = 0, height = 0;
    double pointY = 0;
    double top = 0;
};

// The last points lie on the right end of the axis, so a name goes to its point's left, inside the
// chart, ending two blanks' width before the point: above it where the row's line comes up to the
// point (or is level), below it where the line comes down, so that the name does not lie on its own
// line; it stays between the axes' ends.
RowName rowName(DrawingSurface& s, double scale, const std::string& name, double x, double y,
                double previousY) {
    RowName n;
    n.right = x - s.textWidth("  ");
    n.text = fitted(s, name, n.right - kAxisLeft * scale);
    n.size = s.font().size;
    n.width = s.textWidth(n.text);
    n.height = s.textHeight(n.text);
    s.setFont(Font("宋体", 8));
    n.pointY = y;
    const double above = y - kPointRadius - n.height;
    const double below = y + kPointRadius;
    n.top = previousY >= y ? above : below;
    if (n.top < 0) {
        n.top = below;
    } else if (n.top + n.height > kAxisBottom * scale) {
        n.top = above;
    }
    return n;
}

// Prints the names. They all end at one x, so names of points that lie close together are stacked, in
// the order of their points from the top down, each just below the one before where it would cover
// it, and the stack kept above the category axis.
void drawRowNames(DrawingSurface& s, double scale, std::vector<RowName> names) {
    std::stable_sort(names.begin(), names.end(),
                     [](const RowName& a, const RowName& b) { return a.pointY < b.pointY; });
    double free = 0;
    for (RowName& n : names) {
        n.top = std::max(n.top, free);
        free = n.top + n.height;
    }
    double limit = kAxisBottom * scale;
    for (auto n = names.rbegin(); n != names.rend(); ++n) {
        n->top = std::max(0.0, std::min(n->top, limit - n->height));
        limit = n->top;
    }
    s.setTextColor(kLineColor);
    for (const RowName& n : names) {
        s.setFont(Font("宋体", n.size));
        s.setCurrentX(n.right - n.width);
        s.setCurrentY(n.top);
        s.printText(n.text);
    }
    s.setFont(Font("宋体", 8));
    s.setTextColor(kBlack);
}

void drawLineChart(DrawingSurface& s, double scale, ChartOutput output, const ChartData& data,
                   const CellValueFn& value, bool up) {
    // The axis runs from the minimum to the maximum; a choice without room between them (which the
    // check refuses) draws over one unit from the minimum.
    const double span = safeMaximum(data) > data.minimum ? safeMaximum(data) - data.minimum : 1;
    const int n = safeSegments(data);
    drawFrame(
        s, scale, output, n,
        [&](int j) {
            const double share = up ? 1.0 - static_cast<double>(j) / n : static_cast<double>(j) / n;
            return data.minimum + share * span;
        },
        data.fieldNames, categoryX);
    const int m = static_cast<int>(data.fields.size());
    std::vector<RowName> names;
    for (size_t k = 0; k < data.rows.size(); ++k) {
        double lastX = 0;
        double lastY = 0;
        double previousY = 0;
        for (int i = 1; i <= m; ++i) {
            const double v = cellValue(value, data.rows[k], data.fields[static_cast<size_t>(i - 1)]);
            const double share = (v - data.minimum) / span;
            const double x = categoryX(i, m) * scale;
            const double y = kAxisBottom * (up ? 1.0 - share : share) * scale;
            if (i > 1) {
                s.drawLine(lastX, lastY, x, y, kLineColor);
            }
            s.drawCircle(x, y, kPointRadius, kLineColor);
            previousY = i > 1 ? lastY : y;
            lastX = x;
            lastY = y;
        }
        if (m > 0) {
            names.push_back(rowName(s, scale, k < data.rowLabels.size() ? data.rowLabels[k] : std::string(),
                                    lastX, lastY, previousY));
        }
    }
    drawRowNames(s, scale, std::move(names));
    drawEnd(s, scale, output, data);
}

}  // namespace

bool CheckChartChoice(ChartData& data, ChartType type, Prompter& prompter) {
    if (data.rows.empty() || data.fields.empty()) {
        prompter.message(kChartNothingChosenMessage, "提示", Icon::Information);
        return false;
    }
    if (!(data.maximum > 0)) {
        data.maximum = 1;
    }
    if (data.segments <= 0) {
        data.segments = 1;
    }
    if (type != ChartType::Bar && !(data.maximum > data.minimum)) {
        prompter.message(kChartMaximumNotAboveMinimumMessage, "提示", Icon::Information);
        return false;
    }
    return true;
}

void DrawChart(DrawingSurface& s, double scale, ChartOutput output, ChartType type, const ChartData& data,
               const CellValueFn& value) {
    switch (type) {
        case ChartType::LineUp:
            DrawLineChartUp(s, scale, output, data, value);
            break;
        case ChartType::LineDown:
            DrawLineChartDown(s, scale, output, data, value);
            break;
        case ChartType::Bar:
            DrawBarChart(s, scale, output, data, value);
            break;
    }
}

double ChartValue(std::string_view displayText) {
    std::string_view t = TrimSpaces(displayText);
    if (!t.empty() && t.front() == '+') {
        t.remove_prefix(1);
    }
    if (t.empty()) {
        return 0;
    }
    double v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) {
        return 0;
    }
    return v;
}

std::string ChartBoxDigits(std::string_view text) {
    std::string digits;
    for (char ch : text) {
        if (ch >= '0' && ch <= '9') {
            digits.push_back(ch);
        }
    }
    return digits;
}

std::string ChartBoxText(std::string_view text) {
    return ChartValue(text) == 0 ? std::string("1") : std::string(text);
}

std::string FormatChartAxisLabel(double value) {
    const double whole = std::round(value);  // halves away from zero
    if (whole == 0 || !std::isfinite(whole)) {
        return {};
    }
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(whole));
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

std::string ChartPrintTimeText(int year, int month, int day, int hour, int minute, int second) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d/%d/%d %d:%02d:%02d", year, month, day, hour, minute, second);
    return std::string("打印时间： ") + buffer;
}

std::string NowChartPrintTimeText() {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return ChartPrintTimeText(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}

void DrawBarChart(DrawingSurface& s, double scale, ChartOutput output, const ChartData& data,
                  const CellValueFn& value) {
    const double maximum = safeMaximum(data);
    const int n = safeSegments(data);
    std::vector<std::string> categories(data.rows.size());
    for (size_t i = 0; i < data.rows.size() && i < data.rowLabels.size(); ++i) {
        categories[i] = data.rowLabels[i];
    }
    drawFrame(
        s, scale, output, n, [&](int j) { return (1.0 - static_cast<double>(j) / n) * maximum; }, categories,
        barX);
    const int m = static_cast<int>(data.rows.size());
    if (m > 0 && !data.fields.empty()) {
        const double half = std::nearbyint(3100.0 / m / 2);  // halves to even
        for (int i = 1; i <= m; ++i) {
            const double v = cellValue(value, data.rows[static_cast<size_t>(i - 1)], data.fields[0]);
            const double x = barX(i, m);
            const double top = kAxisBottom * (1.0 - v / maximum);
            s.fillBox((x - half) * scale, top * scale, (x + half) * scale, kAxisBottom * scale, kBarColor);
        }
        s.setCurrentX(120 * scale);
        s.setCurrentY(90 * scale);
        s.printText(fitted(s, "学科：" + (data.fieldNames.empty() ? std::string() : data.fieldNames[0]),
                           s.width() - 120 * scale));
        s.setFont(Font("宋体", 8));
    }
    drawEnd(s, scale, output, data);
}

void DrawLineChartUp(DrawingSurface& s, double scale, ChartOutput output, const ChartData& data,
                     const CellValueFn& value) {
    drawLineChart(s, scale, output, data, value, true);
}

void DrawLineChartDown(DrawingSurface& s, double scale, ChartOutput output, const ChartData& data,
                       const CellValueFn& value) {
    drawLineChart(s, scale, output, data, value, false);
}

bool PreviewChart(DrawingSurface& picture, ChartType type, ChartData& data, const CellValueFn& value,
                  Prompter& prompter) {
    if (!CheckChartChoice(data, type, prompter)) {
        return false;
    }
    DrawChart(picture, kChartPreviewScale, ChartOutput::Preview, type, data, value);
    return true;
}

bool PrintChart(DrawingSurface& printer, ChartType type, ChartData& data, const CellValueFn& value,
                Prompter& prompter) {
    if (!CheckChartChoice(data, type, prompter)) {
        return false;
    }
    DrawChart(printer, kChartPrintScale, ChartOutput::Printer, type, data, value);
    if (printer.failed()) {
        prompter.message(kPrintErrorMessage, kPrintErrorTitle, Icon::Error);
        return false;
    }
    return true;
}

}  // namespace scorvane
