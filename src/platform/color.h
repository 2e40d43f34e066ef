#pragma once

#include <cstdint>

#include <cairomm/context.h>
#include <cairomm/refptr.h>

namespace platform {

// An OLE colour: &H00BBGGRR, or &H800000nn for the system colour nn.
using OleColor = std::uint32_t;

inline constexpr OleColor vbBlack = 0x000000;
inline constexpr OleColor vbWhite = 0xFFFFFF;
inline constexpr OleColor vbButtonFace = 0x8000000F;
inline constexpr OleColor vbButtonText = 0x80000012;
inline constexpr OleColor vbWindowBackground = 0x80000005;
inline constexpr OleColor vbWindowText = 0x80000008;

struct Rgb {
    double red, green, blue;
};

// The colour an OLE colour stands for; system colours follow the desktop theme.
Rgb ToRgb(OleColor color);
void SetSourceColor(const Cairo::RefPtr<Cairo::Context>& cr, OleColor color);

}  // namespace platform
