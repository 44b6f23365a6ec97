#pragma once

#include <string>
#include <string_view>

#include "main/document/document.h"

namespace scorvane {

// The data-format dialog's arithmetic: a decimal count n and the padding box make the pattern
// "###." + n x "0" (padded) or n x "#"; the preview shows 123.456789 through it.
struct DataFormatChoice {
    int decimals = 2;
    bool pad = false;
    bool operator==(const DataFormatChoice&) const = default;
};

inline constexpr std::string_view kDataFormatPreviewNumber = "123.456789";

// From a document's pattern: n = the characters after the first "." (the whole length when there is
// none), at most 15; padded when the last character is "0".
DataFormatChoice ReadDataFormat(std::string_view pattern);

// The decimal count typed in the dialog's box: empty counts as 0; only digits count; anything above
// 15, however long, counts as 15.
int ParseDecimalCount(std::string_view text);

// "###." followed by n characters, "0" when padded, else "#" (n kept within 0..15).
std::string MakeDataFormat(const DataFormatChoice& choice);

// 123.456789 shown through the pattern, a final "." removed: "123.46" for "###.##", "123" for "###.".
std::string DataFormatPreview(std::string_view pattern);

// Sets the document's data format ("确定" of the dialog); marks the document changed when it differs.
void SetDataFormat(Document& document, std::string pattern);

}  // namespace scorvane
