#include "platform/picture.h"

#include <cairomm/context.h>
#include <gdk/gdk.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <glib.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/error.h"
#include "platform/glib_ptr.h"

namespace platform {

namespace {
[[noreturn]] void InvalidPicture() { throw ToolkitError(481, "Invalid picture"); }

// The name of the format when it is one of pixels, whose size the header gives, or "":
// a drawing is rendered at whatever size is asked.
std::string BitmapFormatName(GdkPixbufFormat* format) {
    if (!format) return "";
    const GCharPtr name(gdk_pixbuf_format_get_name(format));
    constexpr std::array<std::string_view, 4> BitmapFormats = {"bmp", "png", "gif", "jpeg"};
    const bool bitmap = std::find(BitmapFormats.begin(), BitmapFormats.end(), name.get()) != BitmapFormats.end();
    return bitmap ? name.get() : "";
}

// The decoders report which rows they filled; a file that ends early leaves some
// rows unfilled, though the decoder itself may not call it an error.
struct Decoding {
    std::vector<bool> rowsFilled;

    static void SizePrepared(GdkPixbufLoader*, int, int height, gpointer data) {
        static_cast<Decoding*>(data)->rowsFilled.assign(static_cast<size_t>(std::max(height, 0)), false);
    }
    static void AreaUpdated(GdkPixbufLoader*, int, int y, int, int height, gpointer data) {
        auto& rows = static_cast<Decoding*>(data)->rowsFilled;
        const int end = std::min(y + height, static_cast<int>(rows.size()));
        for (int row = std::max(y, 0); row < end; ++row) rows[static_cast<size_t>(row)] = true;
    }
    bool Complete() const {
        return !rowsFilled.empty() && std::all_of(rowsFilled.begin(), rowsFilled.end(), [](bool filled) { return filled; });
    }
};

// Decodes the whole file in that format, or returns null when it is no such picture or an incomplete one.
GdkPixbuf* DecodeWhole(const std::string& path, const std::string& formatName) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return nullptr;
    Decoding decoding;
    const GObjectPtr<GdkPixbufLoader> loader(gdk_pixbuf_loader_new_with_type(formatName.c_str(), nullptr));
    if (!loader) return nullptr;
    g_signal_connect(loader.get(), "size-prepared", G_CALLBACK(Decoding::SizePrepared), &decoding);
    g_signal_connect(loader.get(), "area-updated", G_CALLBACK(Decoding::AreaUpdated), &decoding);
    bool ok = true;
    std::vector<char> chunk(64 * 1024);
    while (ok && file) {
        file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto count = static_cast<gsize>(file.gcount());
        if (count > 0)
            ok = gdk_pixbuf_loader_write(loader.get(), reinterpret_cast<const guchar*>(chunk.data()), count, nullptr);
    }
    // A loader that failed a write has closed itself.
    if (ok) ok = gdk_pixbuf_loader_close(loader.get(), nullptr);
    GdkPixbuf* pixbuf = ok && decoding.Complete() ? gdk_pixbuf_loader_get_pixbuf(loader.get()) : nullptr;
    if (pixbuf) g_object_ref(pixbuf);
    return pixbuf;
}
}  // namespace

Picture LoadPicture(const std::string& path) {
    if (!g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR))
        throw ToolkitError(errors::FileNotFound, "File not found");
    // The header's size is checked before anything of that size is allocated.
    int width = 0, height = 0;
    const std::string format = BitmapFormatName(gdk_pixbuf_get_file_info(path.c_str(), &width, &height));
    if (format.empty() || width <= 0 || height <= 0 || width > MaxPictureSide || height > MaxPictureSide)
        InvalidPicture();
    GdkPixbuf* pixbuf = DecodeWhole(path, format);
    if (!pixbuf) InvalidPicture();
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
