#include "common/percent_escape.h"

#include "common/hex_digit.h"

namespace scorvane {

std::string PercentEscape(std::string_view value, std::string_view alsoEscaped) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        if (c == '%' || c == '\r' || c == '\n' || alsoEscaped.find(c) != std::string_view::npos) {
            const auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += kDigits[byte >> 4];
            out += kDigits[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> PercentUnescape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            out += value[i];
            continue;
        }
        if (i + 2 >= value.size()) {
            return std::nullopt;
        }
        const int high = HexDigitValue(value[i + 1]);
        const int low = HexDigitValue(value[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

}  // namespace scorvane
