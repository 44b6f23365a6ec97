#include "common/qt/screen_twips.h"

#include <QPaintDevice>
#include <cmath>

namespace scorvane {
namespace {

double perPixel(int dpi) {
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

}  // namespace

double TwipsPerPixelX(const QPaintDevice& device) {
    return perPixel(device.logicalDpiX());
}
double TwipsPerPixelY(const QPaintDevice& device) {
    return perPixel(device.logicalDpiY());
}
int TwipsToPixelsX(double twips, const QPaintDevice& device) {
    return static_cast<int>(std::lround(twips / TwipsPerPixelX(device)));
}
int TwipsToPixelsY(double twips, const QPaintDevice& device) {
    return static_cast<int>(std::lround(twips / TwipsPerPixelY(device)));
}
int PixelsToTwipsX(double pixels, const QPaintDevice& device) {
    return static_cast<int>(std::lround(pixels * TwipsPerPixelX(device)));
}
int PixelsToTwipsY(double pixels, const QPaintDevice& device) {
    return static_cast<int>(std::lround(pixels * TwipsPerPixelY(device)));
}

}  // namespace scorvane
