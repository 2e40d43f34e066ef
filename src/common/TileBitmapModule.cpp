#include "common/TileBitmapModule.h"

namespace TileBitmapModule {

void TileBitmap(platform::PictureBox& Dest, platform::PictureBox& Src) { Dest.Surface().Tile(Src.Surface()); }

void TileBitmapForm(platform::Form& Dest, platform::PictureBox& Src) { Dest.Surface().Tile(Src.Surface()); }

}  // namespace TileBitmapModule
