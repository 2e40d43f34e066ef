#pragma once

#include <cstdint>

// The size of a maximised window less its fixed frame, in twips.
namespace ScreenSize {

extern std::int32_t MaxWidth;
extern std::int32_t MaxHeight;

void GetMaxSize();

}  // namespace ScreenSize
