#pragma once

// The font the program's forms write their text in, the one their layout was made for.
inline constexpr const char* FormFontName = "Arial";

// Sets the form font, at that size in points, on each of the controls.
template <typename... Controls>
void SetFormFont(double size, bool bold, Controls&... controls) {
    (controls.SetFont(FormFontName, size, bold), ...);
}
