#include "main/document/table_font.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/utf8.h"

namespace scorvane {
namespace {

std::optional<double> parseSize(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    if (value < kMinTableFontSize || value > kMaxTableFontSize) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

TableFont ResolveStoredTableFont(const TableFont& current, const std::optional<std::string>& storedName,
                                 const std::optional<std::string>& storedSize) {
    TableFont font = current;
    if (storedName) {
        std::string_view name = TrimSpaces(*storedName);
        if (!name.empty()) {
            font.name = std::string(name);
        }
    }
    if (storedSize) {
        std::string_view size = TrimSpaces(*storedSize);
        if (!size.empty()) {
            if (auto value = parseSize(size)) {
                font.pointSize = *value;
            }
        }
    }
    return font;
}

std::string FormatTableFontSize(double pointSize) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", pointSize);
    return buffer;
}

}  // namespace scorvane
