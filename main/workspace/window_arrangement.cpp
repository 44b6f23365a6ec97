#include "main/workspace/window_arrangement.h"

#include <algorithm>

#include "common/menu_text.h"

namespace scorvane {
namespace {

// Splits `total` into `count` parts, the first ones one larger when it does not divide evenly.
std::vector<int> split(int count, int total) {
    std::vector<int> parts;
    if (count <= 0) {
        return parts;
    }
    total = std::max(total, 0);
    for (int i = 0; i < count; ++i) {
        parts.push_back(total / count + (i < total % count ? 1 : 0));
    }
    return parts;
}

}  // namespace

std::vector<WindowRect> TileAboveEachOther(int count, int areaWidth, int areaHeight) {
    std::vector<WindowRect> rects;
    int y = 0;
    for (int h : split(count, areaHeight)) {
        rects.push_back({0, y, std::max(areaWidth, 0), h});
        y += h;
    }
    return rects;
}

std::vector<WindowRect> TileSideBySide(int count, int areaWidth, int areaHeight) {
    std::vector<WindowRect> rects;
    int x = 0;
    for (int w : split(count, areaWidth)) {
        rects.push_back({x, 0, w, std::max(areaHeight, 0)});
        x += w;
    }
    return rects;
}

std::vector<WindowRect> ArrangeIcons(int count, int iconWidth, int iconHeight, int areaWidth,
                                     int areaHeight) {
    std::vector<WindowRect> rects;
    iconWidth = std::max(iconWidth, 1);
    iconHeight = std::max(iconHeight, 1);
    const int perRow = std::max(1, areaWidth / iconWidth);
    for (int i = 0; i < count; ++i) {
        int column = i % perRow;
        int row = i / perRow;
        rects.push_back({column * iconWidth, areaHeight - (row + 1) * iconHeight, iconWidth, iconHeight});
    }
    return rects;
}

std::string WindowListEntry(int number, std::string_view title) {
    return "&" + std::to_string(number) + " " + MenuEntryText(title);
}

namespace {

int resultExtent(int ordinary, int wholeTable, int area, int minimum) {
    const int large = std::max(ordinary, area * 2 / 3);
    return std::max(minimum, std::min({large, wholeTable, area}));
}

}  // namespace

WindowSize ResultWindowSize(WindowSize ordinary, WindowSize wholeTable, WindowSize area, WindowSize minimum,
                            int scrollBar) {
    WindowSize size;
    size.height = resultExtent(ordinary.height, wholeTable.height, area.height, minimum.height);
    // Rows that do not all show bring a vertical scroll bar, columns a horizontal one.
    const int width = wholeTable.width + (size.height < wholeTable.height ? scrollBar : 0);
    size.width = resultExtent(ordinary.width, width, area.width, minimum.width);
    if (size.width < width) {
        size.height =
            resultExtent(ordinary.height, wholeTable.height + scrollBar, area.height, minimum.height);
    }
    return size;
}

WindowRect CascadedPlace(const std::vector<WindowRect>& open, int width, int height, int areaWidth,
                         int areaHeight, int step) {
    for (int k = 0; step > 0; ++k) {
        const int x = k * step;
        const int y = k * step;
        if (x + width > areaWidth || y + height > areaHeight) {
            break;
        }
        bool taken = false;
        for (const WindowRect& w : open) {
            taken = taken || (w.x == x && w.y == y);
        }
        if (!taken) {
            return {x, y, width, height};
        }
    }
    return {0, 0, width, height};
}

}  // namespace scorvane
