#include "main/workspace/program_version.h"

#include <cstdio>

#include "common/utf8.h"

namespace scorvane {

std::string SplashVersionLine(int major, int minor, int revision) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "V %d.%d.%04d", major, minor, revision);
    return buffer;
}

std::string SplashVersionLine(std::string_view version) {
    int parts[3] = {0, 0, 0};
    for (int& part : parts) {
        size_t dot = version.find('.');
        long long value = 0;
        if (ParseWholeNumber(version.substr(0, dot), 0, 999999, value)) {
            part = static_cast<int>(value);
        }
        if (dot == std::string_view::npos) {
            break;
        }
        version.remove_prefix(dot + 1);
    }
    return SplashVersionLine(parts[0], parts[1], parts[2]);
}

}  // namespace scorvane
