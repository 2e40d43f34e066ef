#include "common/TileBitmapModule.h"

namespace TileBitmapModule {

void Tile(platform::Canvas& Dest, const platform::Canvas& Src) {
    Dest.Cls();
    const int width = Src.PixelWidth(), height = Src.PixelHeight();
    // A source without area would never advance.
    if (width <= 0 || height <= 0) return;
    for (int Y = 0; Y <= Dest.PixelHeight(); Y += height)
        for (int X = 0; X <= Dest.PixelWidth(); X += width) Dest.CopyFrom(Src, X, Y, width, height, 0, 0);
}

void TileBitmap(platform::PictureBox& Dest, platform::PictureBox& Src) { Tile(Dest.Surface(), Src.Surface()); }

void TileBitmapForm(platform::Form& Dest, platform::PictureBox& Src) { Tile(Dest.Surface(), Src.Surface()); }

}  // namespace TileBitmapModule
