#pragma once

#include <gtkmm/window.h>

namespace platform {

// Called when the window has stopped being the active one, or when it opens over
// a window that is about to take the focus: as soon as another window of the
// program (not a message box) becomes active within the next second, the window
// takes the focus back, unless that window was shown after it: of two windows that
// take the focus back, the newer keeps it. Nothing happens when the focus went to
// another program, or once the window is hidden or gone.
void TakeFocusBackFromProgramWindows(Gtk::Window& window);

// Tells the window's age: called when the window is shown for the first time.
void NoteFirstShown(Gtk::Window& window);

}  // namespace platform
