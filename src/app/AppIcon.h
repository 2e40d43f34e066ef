#pragma once

#include <gdkmm/pixbuf.h>

// The program's icon, 16 x 16 pixels.
Glib::RefPtr<Gdk::Pixbuf> AppIcon();
