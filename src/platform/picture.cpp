#include "platform/picture.h"

#include <cairomm/context.h>
#include <gdk/gdk.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <glib.h>

#include "platform/error.h"

namespace platform {

Picture LoadPicture(const std::string& path) {
    if (!g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR))
        throw ToolkitError(errors::FileNotFound, "File not found");
    int width = 0, height = 0;
    if (!gdk_pixbuf_get_file_info(path.c_str(), &width, &height) || width <= 0 || height <= 0 ||
        width > MaxPictureSide || height > MaxPictureSide)
        throw ToolkitError(481, "Invalid picture");
    GError* error = nullptr;
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(path.c_str(), &error);
    if (!pixbuf) {
        g_clear_error(&error);
        throw ToolkitError(481, "Invalid picture");
    }
    auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_RGB24, gdk_pixbuf_get_width(pixbuf),
                                               gdk_pixbuf_get_height(pixbuf));
    auto cr = Cairo::Context::create(surface);
    gdk_cairo_set_source_pixbuf(cr->cobj(), pixbuf, 0, 0);
    cr->paint();
    g_object_unref(pixbuf);
    surface->flush();
    return Picture(surface);
}

}  // namespace platform
