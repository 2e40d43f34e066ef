#include "platform/color.h"

#include <cairomm/context.h>

namespace platform {

namespace {
OleColor SystemColor(std::uint32_t index) {
    switch (index) {
        case 0x05: return 0xFFFFFF;  // window background
        case 0x08: return 0x000000;  // window text
        case 0x0D: return 0xD77800;  // highlight
        case 0x0E: return 0xFFFFFF;  // highlight text
        case 0x0F: return 0xF0F0F0;  // button face
        case 0x10: return 0xA0A0A0;  // button shadow
        case 0x11: return 0x6D6D6D;  // grey text
        case 0x12: return 0x000000;  // button text
        case 0x14: return 0xFFFFFF;  // button highlight
        default: return 0x000000;
    }
}
}  // namespace

Rgb ToRgb(OleColor color) {
    if (color & 0x80000000u) color = SystemColor(color & 0xFFu);
    return {(color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, ((color >> 16) & 0xFF) / 255.0};
}

void SetSourceColor(const Cairo::RefPtr<Cairo::Context>& cr, OleColor color) {
    const Rgb rgb = ToRgb(color);
    cr->set_source_rgb(rgb.red, rgb.green, rgb.blue);
}

}  // namespace platform
