#include "designer/help_about.h"

namespace scorvane::designer {

std::string VersionLine(std::string_view version) {
    std::string parts[3] = {"0", "0", "0"};
    size_t start = 0;
    for (std::string& part : parts) {
        if (start > version.size()) {
            break;
        }
        const size_t dot = version.find('.', start);
        const std::string_view piece =
            version.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
        if (!piece.empty()) {
            part = std::string(piece);
        }
        if (dot == std::string_view::npos) {
            break;
        }
        start = dot + 1;
    }
    return parts[0] + "." + parts[1] + "." + parts[2];
}

std::string AboutText(std::string_view version) {
    return std::string(kDesignerCaption) + "\nV " + VersionLine(version) + "\n\n" + std::string(kMakerLine);
}

}  // namespace scorvane::designer
