#include "app/AppIcon.h"

#include <cairomm/context.h>
#include <gdkmm/general.h>

#include <cmath>

Cairo::RefPtr<Cairo::ImageSurface> AppIconSurface() {
    static const Cairo::RefPtr<Cairo::ImageSurface> icon = [] {
        auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_ARGB32, 16, 16);
        auto cr = Cairo::Context::create(surface);
        // A globe in a rounded blue square.
        cr->arc(8, 8, 7.5, 0, 2 * M_PI);
        cr->set_source_rgb(0.20, 0.42, 0.66);
        cr->fill();
        cr->set_source_rgb(0.95, 0.97, 1.0);
        cr->set_line_width(1.2);
        cr->begin_new_sub_path();
        cr->arc(8, 8, 5, 0, 2 * M_PI);
        cr->stroke();
        cr->save();
        cr->translate(8, 8);
        cr->scale(0.45, 1);
        cr->begin_new_sub_path();
        cr->arc(0, 0, 5, 0, 2 * M_PI);
        cr->restore();
        cr->stroke();
        cr->move_to(3, 8);
        cr->line_to(13, 8);
        cr->stroke();
        surface->flush();
        return surface;
    }();
    return icon;
}

Glib::RefPtr<Gdk::Pixbuf> AppIcon() { return Gdk::Pixbuf::create(AppIconSurface(), 0, 0, 16, 16); }
