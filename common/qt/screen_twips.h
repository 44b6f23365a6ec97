#pragma once

class QPaintDevice;

namespace scorvane {

// Twips on screen: 1440 per logical inch of the device (15 twips per pixel at 96 dpi).
double TwipsPerPixelX(const QPaintDevice& device);
double TwipsPerPixelY(const QPaintDevice& device);
int TwipsToPixelsX(double twips, const QPaintDevice& device);
int TwipsToPixelsY(double twips, const QPaintDevice& device);
int PixelsToTwipsX(double pixels, const QPaintDevice& device);
int PixelsToTwipsY(double pixels, const QPaintDevice& device);

}  // namespace scorvane
