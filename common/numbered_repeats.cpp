#include "common/numbered_repeats.h"

#include <algorithm>

namespace scorvane {

std::vector<std::string> NumberRepeats(const std::vector<std::string>& names) {
    std::vector<std::string> out;
    out.reserve(names.size());
    auto taken = [&](const std::string& name) {
        return std::find(out.begin(), out.end(), name) != out.end() ||
               std::find(names.begin(), names.end(), name) != names.end();
    };
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        if (std::find(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(i), name) ==
            names.begin() + static_cast<std::ptrdiff_t>(i)) {
            out.push_back(name);
            continue;
        }
        int n = static_cast<int>(
                    std::count(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(i), name)) +
                1;
        std::string numbered = name + " (" + std::to_string(n) + ")";
        while (taken(numbered)) {
            numbered = name + " (" + std::to_string(++n) + ")";
        }
        out.push_back(std::move(numbered));
    }
    return out;
}

}  // namespace scorvane
