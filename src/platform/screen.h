#pragma once

namespace platform {

struct PixelRect {
    int left, top, right, bottom;
};

// The desktop work area of the primary monitor, in pixels.
PixelRect WorkArea();

// Places the form in the middle of the screen.
class Form;
void CentreOnScreen(Form& form);
// Places the form over the middle of the other form.
void CentreOver(Form& form, Form& owner);

// Tests put the work area where they need it.
void SetWorkAreaForTesting(const PixelRect& area);

}  // namespace platform
