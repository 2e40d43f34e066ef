#pragma once

#include <string>
#include <vector>

#include "platform/form.h"

// The X side of a form's window, kept apart: the X headers clash with gtkmm's.
namespace x_window {

// The window's X id, as wmctrl and xdotool name windows.
std::string Id(platform::Form& form);

// The window's title as the window manager reads it (_NET_WM_NAME).
std::string Title(platform::Form& form);

// The frame the window manager puts round the window: left, right, top, bottom, in pixels.
std::vector<unsigned long> FrameExtents(platform::Form& form);

// The actions that the window manager offers on the window (_NET_WM_ALLOWED_ACTIONS).
std::vector<std::string> AllowedActions(platform::Form& form);

// Whether the window has an empty shape: nothing of it shows and it takes no clicks.
bool ShowsNothingAndTakesNoClicks(platform::Form& form);

// What the window asks of the window manager through its Motif hints.
struct MotifHints {
    bool setsFunctions = false, setsDecorations = false;
    unsigned long functions = 0, decorations = 0;
};
MotifHints Motif(platform::Form& form);
inline constexpr unsigned long MotifFunctionMinimise = 8, MotifFunctionMaximise = 16, MotifFunctionClose = 32;
inline constexpr unsigned long MotifDecorationMenu = 16, MotifDecorationMinimise = 32, MotifDecorationMaximise = 64;

}  // namespace x_window
