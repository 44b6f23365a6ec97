#include "common/font_size_choices.h"

#include <cstdio>
#include <string>

namespace scorvane {

int PreselectedFontSize(double pointSize) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", pointSize);
    const std::string written = buffer;
    for (size_t i = 0; i < kFontSizeChoices.size(); ++i) {
        if (kFontSizeChoices[i].caption == written) {
            return static_cast<int>(i);
        }
    }
    return 1;
}

}  // namespace scorvane
