#include "platform/canvas.h"

#include <gdkmm/window.h>
#include <glibmm/main.h>
#include <gtk/gtk.h>
#include <pangomm/layout.h>

#include <algorithm>
#include <functional>
#include <string_view>

#include "platform/text.h"
#include "platform/twips.h"

namespace platform {

Canvas::Canvas() {
    set_has_window(true);
    add_events(Gdk::BUTTON_PRESS_MASK | Gdk::BUTTON_RELEASE_MASK | Gdk::POINTER_MOTION_MASK |
               Gdk::ENTER_NOTIFY_MASK | Gdk::LEAVE_NOTIFY_MASK);
    SetPixelSize(1, 1);
}

void Canvas::on_realize() {
    // Gtk::Fixed makes its own window only when asked to have one.
    set_realized(true);
    GtkAllocation allocation;
    gtk_widget_get_allocation(GTK_WIDGET(gobj()), &allocation);
    GdkWindowAttr attributes{};
    attributes.window_type = GDK_WINDOW_CHILD;
    attributes.x = allocation.x;
    attributes.y = allocation.y;
    attributes.width = allocation.width;
    attributes.height = allocation.height;
    attributes.wclass = GDK_INPUT_OUTPUT;
    attributes.visual = gtk_widget_get_visual(GTK_WIDGET(gobj()));
    attributes.event_mask = gtk_widget_get_events(GTK_WIDGET(gobj())) | GDK_EXPOSURE_MASK;
    GdkWindow* window = gdk_window_new(gtk_widget_get_parent_window(GTK_WIDGET(gobj())), &attributes,
                                       GDK_WA_X | GDK_WA_Y | GDK_WA_VISUAL);
    gtk_widget_register_window(GTK_WIDGET(gobj()), window);
    gtk_widget_set_window(GTK_WIDGET(gobj()), window);
}

void Canvas::SetPixelSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (image_ && width == width_ && height == height_) return;
    // Cairo cannot hold an image of any size; past the largest side the canvas
    // goes on without a persistent image.
    auto resized = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, std::min(width, MaxImageSide),
                                               std::min(height, MaxImageSide));
    auto cr = Cairo::Context::create(resized);
    PaintBackground(cr);
    if (image_) {
        cr->set_source(image_, 0, 0);
        cr->paint();
    }
    image_ = resized;
    tiles_.clear();
    width_ = width;
    height_ = height;
    if (fillsWindow_)
        queue_resize();
    else
        set_size_request(width, height);
    shownDigest_ = ImageDigest();
    queue_draw();
}

void Canvas::PaintBackground(const Cairo::RefPtr<Cairo::Context>& cr) const {
    SetSourceColor(cr, backColor_);
    cr->paint();
    if (!picture_.Empty()) {
        cr->set_source(picture_.Surface(), 0, 0);
        cr->paint();
    }
}

void Canvas::SetBackColor(OleColor color) {
    backColor_ = color;
    Cls();
}

void Canvas::SetPicture(const Picture& picture) {
    picture_ = picture;
    Cls();
}

Picture Canvas::Image() const {
    auto copy = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, image_->get_width(), image_->get_height());
    auto cr = Cairo::Context::create(copy);
    cr->set_source(image_, 0, 0);
    cr->paint();
    return Picture(copy);
}

void Canvas::Cls() {
    PaintBackground(Cairo::Context::create(image_));
    tiles_.clear();
    CurrentX = 0;
    CurrentY = 0;
    ImageChanged();
}

Pango::FontDescription Canvas::Font() const {
    Pango::FontDescription font(FontName);
    font.set_size(static_cast<int>(FontSize * PANGO_SCALE));
    font.set_weight(FontBold ? Pango::WEIGHT_BOLD : Pango::WEIGHT_NORMAL);
    return font;
}

Glib::RefPtr<Pango::Layout> Canvas::Layout(const std::string& text) {
    auto layout = create_pango_layout(ScreenLine(text));
    layout->set_font_description(Font());
    return layout;
}

void Canvas::Print(const std::string& text) {
    auto layout = Layout(text);
    auto cr = Cairo::Context::create(image_);
    SetSourceColor(cr, foreColor_);
    cr->move_to(CurrentX / TwipsPerPixelX, CurrentY / TwipsPerPixelY);
    layout->show_in_cairo_context(cr);
    int width = 0, height = 0;
    layout->get_pixel_size(width, height);
    CurrentX = 0;
    CurrentY += PixelsToTwipsY(height);
    ImageChanged();
}

double Canvas::TextWidth(const std::string& text) {
    // One layout serves every measure: making a layout costs more than measuring with it.
    if (!measure_) measure_ = create_pango_layout("");
    measure_->set_font_description(Font());
    measure_->set_text(ScreenLine(text));
    int width = 0, height = 0;
    measure_->get_pixel_size(width, height);
    return PixelsToTwipsX(width);
}

void Canvas::Tile(const Canvas& source) {
    Cls();
    const int width = std::min(source.width_, source.image_->get_width());
    const int height = std::min(source.height_, source.image_->get_height());
    auto piece = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, width, height);
    auto pieceCr = Cairo::Context::create(piece);
    pieceCr->set_source(source.image_, 0, 0);
    pieceCr->paint();
    tiles_ = Cairo::SurfacePattern::create(piece);
    tiles_->set_extend(Cairo::EXTEND_REPEAT);
    auto cr = Cairo::Context::create(image_);
    cr->set_source(tiles_);
    cr->paint();
    ImageChanged();
}

void Canvas::CopyFrom(const Canvas& source, int x, int y, int width, int height, int sourceX, int sourceY) {
    if (width <= 0 || height <= 0) return;
    Cairo::RefPtr<Cairo::Surface> from = source.image_;
    double originX = x - sourceX, originY = y - sourceY;
    if (&source == this) {
        // Cairo reads and writes the one image as it goes: an overlapping copy
        // within it would smear, so the source rectangle is taken out first.
        auto part = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, width, height);
        auto partCr = Cairo::Context::create(part);
        partCr->set_source(image_, -sourceX, -sourceY);
        partCr->paint();
        from = part;
        originX = x;
        originY = y;
    }
    auto cr = Cairo::Context::create(image_);
    cr->rectangle(x, y, width, height);
    cr->clip();
    cr->set_source(from, originX, originY);
    cr->set_operator(Cairo::OPERATOR_SOURCE);
    cr->paint();
    ImageChanged();
}

void Canvas::ImageChanged() {
    if (pendingShow_.connected()) return;
    // Before GTK's own redraw of this turn, which runs at HIGH_IDLE + 20.
    pendingShow_ = Glib::signal_idle().connect(
        [this] {
            ShowImageIfChanged();
            return false;
        },
        Glib::PRIORITY_HIGH_IDLE + 10);
}

void Canvas::ShowImageIfChanged() {
    pendingShow_.disconnect();
    const std::size_t digest = ImageDigest();
    if (digest == shownDigest_) return;
    shownDigest_ = digest;
    queue_draw();
}

std::size_t Canvas::ImageDigest() const {
    image_->flush();
    const auto* data = reinterpret_cast<const char*>(image_->get_data());
    const std::size_t bytes = static_cast<std::size_t>(image_->get_stride()) * image_->get_height();
    return std::hash<std::string_view>{}(std::string_view(data, bytes));
}

void Canvas::RefreshNow() {
    ShowImageIfChanged();
    queue_draw();
    if (auto window = get_window()) window->process_updates(true);
    gdk_display_flush(gdk_display_get_default());
}

void Canvas::get_preferred_width_vfunc(int& minimum, int& natural) const {
    natural = width_;
    minimum = fillsWindow_ ? 1 : width_;
}

void Canvas::get_preferred_height_vfunc(int& minimum, int& natural) const {
    natural = height_;
    minimum = fillsWindow_ ? 1 : height_;
}

bool Canvas::on_draw(const Cairo::RefPtr<Cairo::Context>& cr) {
    if (tiles_ && (width_ > image_->get_width() || height_ > image_->get_height())) {
        cr->set_source(tiles_);
        cr->paint();
    }
    cr->set_source(image_, 0, 0);
    cr->paint();
    return Gtk::Fixed::on_draw(cr);
}

}  // namespace platform
