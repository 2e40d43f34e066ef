#pragma once

namespace testing_support {

// Moves the real pointer to screen pixels, so the windows get the motion events a
// user's mouse gives. The pointer arrives in two steps: a window it has just
// entered sees its next move.
void PointAt(int x, int y);

// Clicks the first button where the pointer is.
void Click();

}  // namespace testing_support
