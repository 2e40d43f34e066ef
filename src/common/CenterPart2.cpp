#include "common/CenterPart2.h"

#include <cmath>

#include "platform/screen.h"
#include "platform/twips.h"

namespace CenterPart2 {

void CenterForm(platform::Form& frm) {
    const auto area = platform::WorkArea();
    const double left = std::lround(double(area.left) * platform::TwipsPerPixelX);
    const double right = std::lround(double(area.right) * platform::TwipsPerPixelX);
    const double top = std::lround(double(area.top) * platform::TwipsPerPixelY);
    const double bottom = std::lround(double(area.bottom) * platform::TwipsPerPixelY);

    double Top = std::lround(top + ((bottom - top) - frm.Height()) / 2);
    if (Top < top) Top = top;
    double Left = std::lround(left + ((right - left) - frm.Width()) / 2);
    if (Left < left) Left = left;
    frm.Move(Left - 60, Top - 60);
}

}  // namespace CenterPart2
