#pragma once

#include <cairomm/surface.h>
#include <gdkmm/pixbuf.h>

// The program's icon, 16 x 16 pixels, as a window icon and as a picture.
Glib::RefPtr<Gdk::Pixbuf> AppIcon();
Cairo::RefPtr<Cairo::ImageSurface> AppIconSurface();
