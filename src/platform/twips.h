#pragma once

#include <cmath>

namespace platform {

// Positions and sizes outside the layer are in twips: 1/1440 inch, 15 to a pixel.
inline constexpr int TwipsPerPixelX = 15;
inline constexpr int TwipsPerPixelY = 15;

inline int TwipsToPixelsX(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelX)); }
inline int TwipsToPixelsY(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelY)); }
inline double PixelsToTwipsX(double pixels) { return pixels * TwipsPerPixelX; }
inline double PixelsToTwipsY(double pixels) { return pixels * TwipsPerPixelY; }

}  // namespace platform
