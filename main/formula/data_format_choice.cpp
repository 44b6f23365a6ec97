#include "main/formula/data_format_choice.h"

#include <algorithm>

#include "common/utf8.h"
#include "main/formula/number_format.h"

namespace scorvane {

DataFormatChoice ReadDataFormat(std::string_view pattern) {
    DataFormatChoice choice;
    size_t point = pattern.find('.');
    size_t after =
        point == std::string_view::npos ? Utf8Length(pattern) : Utf8Length(pattern.substr(point + 1));
    choice.decimals = static_cast<int>(std::min<size_t>(after, kMaxFormatDecimals));
    choice.pad = !pattern.empty() && pattern.back() == '0';
    return choice;
}

int ParseDecimalCount(std::string_view text) {
    int n = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            n = std::min(n * 10 + (c - '0'), kMaxFormatDecimals + 1);
        }
    }
    return std::min(n, kMaxFormatDecimals);
}

std::string MakeDataFormat(const DataFormatChoice& choice) {
    int n = std::clamp(choice.decimals, 0, kMaxFormatDecimals);
    return "###." + std::string(static_cast<size_t>(n), choice.pad ? '0' : '#');
}

std::string DataFormatPreview(std::string_view pattern) {
    return FormatForDisplay(kDataFormatPreviewNumber, pattern);
}

void SetDataFormat(Document& document, std::string pattern) {
    if (document.table.dataFormat != pattern) {
        document.table.dataFormat = std::move(pattern);
        document.setModified();
    }
}

}  // namespace scorvane
