#include "main/document/font_size_choices.h"

#include "main/document/table_font.h"

namespace scorvane {

int PreselectedFontSize(double pointSize) {
    const std::string written = FormatTableFontSize(pointSize);
    for (size_t i = 0; i < kFontSizeChoices.size(); ++i) {
        if (kFontSizeChoices[i].caption == written) {
            return static_cast<int>(i);
        }
    }
    return 1;
}

}  // namespace scorvane
