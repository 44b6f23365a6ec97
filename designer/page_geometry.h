#pragma once

#include <optional>
#include <string_view>

namespace scorvane::designer {

// Twips in a centimetre, as the grid measures them.
inline constexpr double kGridTwipsPerCentimetre = 566.9;
// One step of the page's scroll bars, in twips.
inline constexpr double kScrollStep = 120;

// The grid divides the page into n equal columns and m equal rows of about `spacing` centimetres:
// n = ⌊⌊width / 566.9⌋ / spacing⌋ and m likewise with the height. The spacing box holds a decimal such
// as "0.5"; the division is done on the decimal exactly, so "0.1" gives ten parts to a centimetre.
struct GridDivisions {
    long long columns = 0;  // n: vertical lines at width·i/n, i = 0 … n
    long long rows = 0;     // m: horizontal lines at height·i/m, i = 0 … m
};

// The divisions for a page of the given size in twips, or nullopt when no grid is drawn: a spacing
// that is empty, not a decimal number (two points, no digit) or zero; a page smaller than one spacing
// either way; or a spacing so fine that its lines would fall closer together than one screen pixel
// (15 twips), where the grid would only paint the page grey.
std::optional<GridDivisions> GridDivisionsFor(double width, double height, std::string_view spacing);

// A background picture that gives its resolution (a scanned form) is shown at its size on paper: its
// `width` × `height` pixels scaled by screenDpi / pictureDpi, each to the nearest pixel and at least 1.
// nullopt, the picture shown pixel for pixel, when the resolution it gives lies outside 24 … 2400 dpi
// (none given, or not believable) or within half a dot of the screen's.
struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};
std::optional<PixelSize> BackgroundPictureSize(int width, int height, double pictureDpi, double screenDpi);

// The largest value of a page scroll bar: (page − viewport + the other bar's thickness) / 120 + 1, to
// the nearest whole number (halves to even), and never below 0. All lengths in twips.
int ScrollMax(double page, double viewport, double otherBar);

}  // namespace scorvane::designer
