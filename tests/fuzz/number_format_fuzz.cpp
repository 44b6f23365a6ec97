#include <cmath>
#include <cstring>

#include "common/text_codec.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "main/formula/number_format.h"
#include "main/formula/number_text.h"

namespace scorvane::fuzz {

// The input is a number text and a pattern separated by the first line feed (without one, the
// default pattern). The formatted text stays in proportion to both, and a number the evaluator writes
// shows through any pattern.
int FuzzNumberFormat(const uint8_t* data, size_t size) {
    const std::string_view input = Bytes(data, size);
    const size_t split = input.find('\n');
    const std::string_view number = input.substr(0, split);
    const std::string_view pattern =
        split == std::string_view::npos ? kDefaultDataFormat : input.substr(split + 1);
    const std::string shown = FormatNumberText(number, pattern);
    // A number may carry an exponent of up to 400 places, a pattern any number of placeholders.
    Check(shown.size() <= number.size() + pattern.size() + 420, "the shown text in proportion to its inputs");
    if (IsValidUtf8(number)) {
        Check(IsValidUtf8(shown), "the shown text stays UTF-8");
    }
    const std::string display = FormatForDisplay(number, pattern);
    Check(display.size() + 1 >= shown.size(), "display drops at most the trailing point");

    // The first 8 bytes as a double, written as the evaluator writes it, through the pattern.
    if (size >= 8) {
        double value = 0;
        std::memcpy(&value, data, 8);
        if (std::isfinite(value)) {
            double rounded = 0;
            char text[kNumberTextCapacity];
            const size_t length = NumberToText(value, text, rounded);
            Check(length <= kNumberTextCapacity && std::isfinite(rounded),
                  "a number text and its finite value");
            // The formatter reads every number text the evaluator writes.
            const std::string fixed = FormatNumberText(std::string_view(text, length), "0.000");
            Check(!fixed.empty() && (fixed[0] == '-' || (fixed[0] >= '0' && fixed[0] <= '9')) &&
                      fixed.find('.') != std::string::npos,
                  "an evaluator's number text formats as a number");
            FormatNumberText(std::string_view(text, length), pattern);
        }
    }
    return 0;
}

}  // namespace scorvane::fuzz
