#include "designer/page_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace scorvane::designer {
namespace {

constexpr double kPixelTwips = 15;

// The resolutions a picture file may give for itself; outside them it is shown pixel for pixel.
constexpr double kMinPictureDpi = 24;
constexpr double kMaxPictureDpi = 2400;

// A spacing "digits[.digits]" (or ".5", "5.") as numerator / 10^decimals; nullopt when it is not one,
// or is zero.
struct Decimal {
    __int128 numerator = 0;
    __int128 denominator = 1;
};
std::optional<Decimal> parseSpacing(std::string_view text) {
    Decimal d;
    bool point = false;
    bool digit = false;
    for (char c : text) {
        if (c == '.') {
            if (point) {
                return std::nullopt;
            }
            point = true;
        } else if (c >= '0' && c <= '9') {
            digit = true;
            // Digits past what a page could use are ignored; the value stays within range.
            if (d.numerator < static_cast<__int128>(1) << 80 && d.denominator < static_cast<__int128>(1)
                                                                                    << 80) {
                d.numerator = d.numerator * 10 + (c - '0');
                if (point) {
                    d.denominator *= 10;
                }
            } else if (!point) {
                return std::nullopt;  // a spacing of more than 10^24 cm
            }
        } else {
            return std::nullopt;
        }
    }
    if (!digit || d.numerator == 0) {
        return std::nullopt;
    }
    return d;
}

// ⌊⌊extent / 566.9⌋ / spacing⌋.
long long divisions(double extent, const Decimal& spacing) {
    const auto centimetres = static_cast<__int128>(std::floor(extent / kGridTwipsPerCentimetre));
    const __int128 n = centimetres * spacing.denominator / spacing.numerator;
    return n > INT64_MAX ? INT64_MAX : static_cast<long long>(n);
}

}  // namespace

std::optional<GridDivisions> GridDivisionsFor(double width, double height, std::string_view spacing) {
    auto s = parseSpacing(spacing);
    if (!s || !(width > 0) || !(height > 0)) {
        return std::nullopt;
    }
    GridDivisions g{divisions(width, *s), divisions(height, *s)};
    if (g.columns < 1 || g.rows < 1) {
        return std::nullopt;
    }
    if (static_cast<double>(g.columns) > width / kPixelTwips ||
        static_cast<double>(g.rows) > height / kPixelTwips) {
        return std::nullopt;
    }
    return g;
}

int ScrollMax(double page, double viewport, double otherBar) {
    const double value = std::nearbyint((page - viewport + otherBar) / kScrollStep + 1);
    if (!(value > 0)) {
        return 0;
    }
    return value > 1e9 ? 1000000000 : static_cast<int>(value);
}

std::optional<PixelSize> BackgroundPictureSize(int width, int height, double pictureDpi, double screenDpi) {
    if (pictureDpi < kMinPictureDpi || pictureDpi > kMaxPictureDpi ||
        std::abs(pictureDpi - screenDpi) <= 0.5) {
        return std::nullopt;
    }
    return PixelSize{std::max(1, static_cast<int>(std::lround(width * screenDpi / pictureDpi))),
                     std::max(1, static_cast<int>(std::lround(height * screenDpi / pictureDpi)))};
}

}  // namespace scorvane::designer
