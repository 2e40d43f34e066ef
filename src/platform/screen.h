#pragma once

namespace platform {

struct PixelRect {
    int left, top, right, bottom;
};

// The desktop work area of the primary monitor, in pixels.
PixelRect WorkArea();

// Tests put the work area where they need it.
void SetWorkAreaForTesting(const PixelRect& area);

}  // namespace platform
