#pragma once

#include <cairomm/surface.h>

#include <string>

namespace platform {

// A loaded bitmap. Empty when nothing is loaded.
class Picture {
public:
    Picture() = default;
    explicit Picture(Cairo::RefPtr<Cairo::ImageSurface> surface) : surface_(std::move(surface)) {}

    bool Empty() const { return !surface_; }
    int PixelWidth() const { return surface_ ? surface_->get_width() : 0; }
    int PixelHeight() const { return surface_ ? surface_->get_height() : 0; }
    const Cairo::RefPtr<Cairo::ImageSurface>& Surface() const { return surface_; }

    bool operator==(const Picture& other) const { return surface_ == other.surface_; }

private:
    Cairo::RefPtr<Cairo::ImageSurface> surface_;
};

// Largest side of a bitmap that LoadPicture accepts: twice the largest screen a
// skin is drawn for.
inline constexpr int MaxPictureSide = 4096;

// Loads a bitmap file: BMP, PNG, GIF or JPEG. Raises ToolkitError 53 when the file
// is missing and 481 when it is no picture in one of those formats (a drawing such
// as SVG is none) or one larger than MaxPictureSide on a side.
Picture LoadPicture(const std::string& path);

}  // namespace platform
