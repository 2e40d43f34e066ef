#pragma once

#include <cairomm/pattern.h>
#include <cairomm/surface.h>
#include <gtkmm/fixed.h>

#include <cstddef>
#include <string>

#include "platform/color.h"
#include "platform/picture.h"

namespace platform {

// A drawing surface that can hold child widgets: the client area of a form and of
// a picture box. It keeps a persistent image (background colour, picture, then what
// was drawn) that survives repaints, and draws its children over it. Drawing into
// the image is shown at the next idle time, and only when the image then differs
// from the one last shown: drawing the same thing again paints nothing.
class Canvas : public Gtk::Fixed {
public:
    Canvas();
    ~Canvas() override { pendingShow_.disconnect(); }

    // The largest side of the persistent image.
    static constexpr int MaxImageSide = 8192;

    // Size of the canvas and of its persistent image, which follows it up to MaxImageSide.
    void SetPixelSize(int width, int height);
    int PixelWidth() const { return width_; }
    int PixelHeight() const { return height_; }
    // The canvas fills a window: it asks for its size but can do with less, so
    // that the window manager may make the window smaller.
    void FillWindow() { fillsWindow_ = true; }

    OleColor BackColor() const { return backColor_; }
    void SetBackColor(OleColor color);
    OleColor ForeColor() const { return foreColor_; }
    void SetForeColor(OleColor color) { foreColor_ = color; }

    const Picture& GetPicture() const { return picture_; }
    void SetPicture(const Picture& picture);

    // The persistent image as it is now, as a picture of its own.
    Picture Image() const;
    const Cairo::RefPtr<Cairo::ImageSurface>& ImageSurface() const { return image_; }

    // Clears what was drawn: back colour and picture only; the text position goes to 0, 0.
    void Cls();

    // Text output in twips.
    double CurrentX = 0;
    double CurrentY = 0;
    std::string FontName = "Sans";
    double FontSize = 8;
    bool FontBold = false;
    void Print(const std::string& text);
    double TextWidth(const std::string& text);

    // Clears what was drawn and covers the canvas with copies of the source's image,
    // 1:1 from the top-left corner, cut at the far edges. Past MaxImageSide, where the
    // canvas keeps no persistent image, the copies still show, until the canvas is
    // cleared or resized.
    void Tile(const Canvas& source);

    // Copies a rectangle of another canvas's image into this one, in pixels.
    void CopyFrom(const Canvas& source, int x, int y, int width, int height, int sourceX, int sourceY);

    // Paints at once, not at the next idle time.
    void RefreshNow();

protected:
    bool on_draw(const Cairo::RefPtr<Cairo::Context>& cr) override;
    // Its size is its own; children outside it are cut off, not made room for.
    void get_preferred_width_vfunc(int& minimum, int& natural) const override;
    void get_preferred_height_vfunc(int& minimum, int& natural) const override;
    void on_realize() override;

private:
    // The image was drawn into: show it once the drawing of this turn is done.
    void ImageChanged();
    void ShowImageIfChanged();
    std::size_t ImageDigest() const;

    void PaintBackground(const Cairo::RefPtr<Cairo::Context>& cr) const;
    Pango::FontDescription Font() const;
    Glib::RefPtr<Pango::Layout> Layout(const std::string& text);

    Cairo::RefPtr<Cairo::ImageSurface> image_;
    Glib::RefPtr<Pango::Layout> measure_;
    Cairo::RefPtr<Cairo::SurfacePattern> tiles_;  // the copies of the last tiling
    int width_ = 0, height_ = 0;
    bool fillsWindow_ = false;
    OleColor backColor_ = vbButtonFace;
    OleColor foreColor_ = vbButtonText;
    Picture picture_;
    std::size_t shownDigest_ = 0;
    sigc::connection pendingShow_;
};

}  // namespace platform
