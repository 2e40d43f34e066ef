#pragma once

namespace platform {
class Control;
}

namespace testing_support {

// Moves the real pointer to screen pixels, so the windows get the motion events a
// user's mouse gives. The pointer arrives in two steps: a window it has just
// entered sees its next move.
void PointAt(int x, int y);

// Moves the real pointer x, y pixels into a control, where the screen shows it now:
// a layout the program has just changed, or a window the window manager has not
// placed yet, is on screen only once the window manager has answered.
void PointAtControl(platform::Control& control, int x, int y);

// Clicks the first button where the pointer is.
void Click();

}  // namespace testing_support
