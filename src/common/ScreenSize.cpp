#include "common/ScreenSize.h"

#include <cmath>

#include "platform/screen.h"
#include "platform/twips.h"

namespace ScreenSize {

std::int32_t MaxWidth = 0;
std::int32_t MaxHeight = 0;

void GetMaxSize() {
    // A maximised window fills the work area with its frame hanging off the edges,
    // so without the frame it is exactly the work area.
    const auto area = platform::WorkArea();
    MaxWidth = static_cast<std::int32_t>(std::lround(double(area.right - area.left) * platform::TwipsPerPixelX));
    MaxHeight = static_cast<std::int32_t>(std::lround(double(area.bottom - area.top) * platform::TwipsPerPixelY));
}

}  // namespace ScreenSize
