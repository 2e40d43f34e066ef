#include "app/SplashPicture.h"

#include <cairomm/context.h>

#include <cmath>

platform::Picture SplashPicture() {
    constexpr int width = 400, height = 250;
    auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, width, height);
    auto cr = Cairo::Context::create(surface);

    auto background = Cairo::LinearGradient::create(0, 0, 0, height);
    background->add_color_stop_rgb(0, 0.16, 0.25, 0.38);
    background->add_color_stop_rgb(1, 0.07, 0.11, 0.18);
    cr->set_source(background);
    cr->paint();

    // A row of tab shapes behind the name.
    for (int i = 0; i < 4; ++i) {
        const double x = 40 + i * 84, y = 62;
        cr->move_to(x, y + 30);
        cr->line_to(x + 10, y);
        cr->line_to(x + 70, y);
        cr->line_to(x + 80, y + 30);
        cr->close_path();
        cr->set_source_rgba(1, 1, 1, i == 1 ? 0.22 : 0.08);
        cr->fill();
    }
    cr->rectangle(30, 92, 340, 2);
    cr->set_source_rgba(1, 1, 1, 0.22);
    cr->fill();

    cr->select_font_face("Sans", Cairo::FONT_SLANT_NORMAL, Cairo::FONT_WEIGHT_BOLD);
    cr->set_font_size(44);
    Cairo::TextExtents extents;
    cr->get_text_extents("Quellin", extents);
    cr->move_to(30, 150);
    cr->set_source_rgb(0.96, 0.93, 0.90);
    cr->show_text("Quellin");

    // A small globe beside the name.
    const double cx = 30 + extents.x_advance + 26, cy = 136, r = 14;
    cr->set_line_width(2);
    cr->set_source_rgb(0.52, 0.74, 0.93);
    cr->begin_new_sub_path();
    cr->arc(cx, cy, r, 0, 2 * M_PI);
    cr->stroke();
    cr->save();
    cr->translate(cx, cy);
    cr->scale(0.45, 1);
    cr->begin_new_sub_path();
    cr->arc(0, 0, r, 0, 2 * M_PI);
    cr->restore();
    cr->stroke();
    cr->move_to(cx - r, cy);
    cr->line_to(cx + r, cy);
    cr->stroke();

    cr->rectangle(0, 206, width, 44);
    cr->set_source_rgba(0, 0, 0, 0.25);
    cr->fill();
    surface->flush();
    return platform::Picture(surface);
}
