#include "main/document/column_widths.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace scorvane {

int FitColumnWidth(int titleTextWidthTwips) {
    return std::max(kMinColumnWidthTwips, std::max(0, titleTextWidthTwips) + 2 * kColumnPaddingTwips);
}

std::vector<int> GridColumnWidths(const GradeTable& table,
                                  const std::function<double(std::string_view)>& measure) {
    std::vector<int> widths(static_cast<size_t>(table.cols()), kMinColumnWidthTwips);
    for (int c = 0; c < table.cols(); ++c) {
        if (int set = table.columnWidth(c); set > 0) {
            widths[static_cast<size_t>(c)] = set;
            continue;
        }
        double textWidth = table.rows() > 0 ? measure(table.cell(0, c)) : 0;
        if (c == 0 && table.rows() > 1) {
            textWidth = std::max(textWidth, measure(std::to_string(table.rows() - 1)));
        }
        int fitted = FitColumnWidth(static_cast<int>(std::ceil(std::max(0.0, textWidth))));
        widths[static_cast<size_t>(c)] = c == 0 ? fitted : std::max(fitted, kMinFieldColumnWidthTwips);
    }
    return widths;
}

int EstimatedColumnWidth(std::string_view text) {
    constexpr double kFullWidth = kTableFontSize * 20;  // twips
    double width = 0;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        width += bytes >= 3 ? kFullWidth : kFullWidth / 2;
        i += bytes;
    }
    return std::max(FitColumnWidth(static_cast<int>(std::ceil(width))), kMinFieldColumnWidthTwips);
}

}  // namespace scorvane
