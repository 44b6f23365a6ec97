#include "common/menu_text.h"

namespace scorvane {

std::string MenuEntryText(std::string_view name) {
    std::string text;
    text.reserve(name.size());
    for (char c : name) {
        text += c;
        if (c == '&') {
            text += '&';
        }
    }
    return text;
}

}  // namespace scorvane
