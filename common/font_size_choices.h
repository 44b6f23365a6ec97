#pragma once

#include <array>
#include <string_view>

namespace scorvane {

// The sizes the font dialogs offer (the table font's and the designer's label font), as (caption, point size)
// in list order: the point sizes written as numbers, then the Chinese size names.
struct FontSizeChoice {
    std::string_view caption;
    double points;
};

inline constexpr std::array<FontSizeChoice, 31> kFontSizeChoices = {{
    {"8", 8},     {"9", 9},     {"10", 10},   {"12", 12},   {"14", 14},   {"16", 16},   {"18", 18},
    {"20", 20},   {"22", 22},   {"24", 24},   {"26", 26},   {"28", 28},   {"36", 36},   {"48", 48},
    {"72", 72},   {"初号", 42}, {"小初", 36}, {"一号", 26}, {"小一", 24}, {"二号", 22}, {"小二", 18},
    {"三号", 16}, {"小三", 15}, {"四号", 14}, {"小四", 12}, {"五号", 10}, {"小五", 9},  {"六号", 7},
    {"小六", 6},  {"七号", 5},  {"八号", 5},
}};

// The item a dialog opens on for a font of `pointSize`: the first item whose caption is the
// size written as a number ("12", "10.5"), so a Chinese size name is never preselected; item 1 ("9")
// when no caption matches.
int PreselectedFontSize(double pointSize);

}  // namespace scorvane
