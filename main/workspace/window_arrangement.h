#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scorvane {

// A window's place in the frame's document area, in pixels.
struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowRect&) const = default;
};

// "纵向平铺": `count` windows one above another, each as wide as the area; the heights share the area's
// height, the first windows taking the pixels left over.
std::vector<WindowRect> TileAboveEachOther(int count, int areaWidth, int areaHeight);

// "横向平铺": side by side, each as tall as the area.
std::vector<WindowRect> TileSideBySide(int count, int areaWidth, int areaHeight);

// "排列图标": minimised windows of `iconWidth` x `iconHeight` lined up from the bottom-left corner of
// the area, left to right, a new row above when a row is full.
std::vector<WindowRect> ArrangeIcons(int count, int iconWidth, int iconHeight, int areaWidth, int areaHeight);

// The 窗口 menu's entry for the `number`th table window (from 1): "&" and the number, a space and the
// window's title as it is ("&2 期中考试").
std::string WindowListEntry(int number, std::string_view title);

struct WindowSize {
    int width = 0;
    int height = 0;
    bool operator==(const WindowSize&) const = default;
};

// How large a window showing a command's result opens, each way: at least two thirds of the document
// area (or the ordinary new window's size, when that is larger), but no larger than the whole table
// needs (`wholeTable`, frame included, plus a scroll bar's `scrollBar` pixels across where the other
// way does not show it whole), nor than the area; never below `minimum`.
WindowSize ResultWindowSize(WindowSize ordinary, WindowSize wholeTable, WindowSize area, WindowSize minimum,
                            int scrollBar);

// Where a new window of `width` x `height` opens beside the `open` windows, so that it never lies exactly
// over one of them: the first place down the diagonal (0, 0), (step, step), (2 step, 2 step) ... whose
// top-left corner no open window has and where the window still lies within the area; (0, 0) when
// there is no such place (or the window is larger than the area).
WindowRect CascadedPlace(const std::vector<WindowRect>& open, int width, int height, int areaWidth,
                         int areaHeight, int step);

}  // namespace scorvane
