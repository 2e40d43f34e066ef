#pragma once

#include "platform/form.h"
#include "platform/picturebox.h"

// Fills a picture box or a form with copies of a skin picture, 1:1 from the
// top-left corner, never stretched; the result is kept as the persistent image.
namespace TileBitmapModule {

void TileBitmap(platform::PictureBox& Dest, platform::PictureBox& Src);
void TileBitmapForm(platform::Form& Dest, platform::PictureBox& Src);

}  // namespace TileBitmapModule
