#pragma once

#include <gtkmm/drawingarea.h>

#include "platform/color.h"
#include "platform/control.h"

namespace platform {

// A label: one caption drawn in its font and colour, clipped to its box.
class Label : public Control {
public:
    Label();

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    OleColor ForeColor() const { return foreColor_; }
    void SetForeColor(OleColor color);
    OleColor BackColor() const { return backColor_; }
    void SetBackColor(OleColor color);
    // Transparent labels show their container through them.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    enum class Align { Left, Center, Right };
    void SetAlignment(Align alignment);
    void SetFont(const std::string& name, double size, bool bold);
    // Underlined text, as links are drawn.
    void SetUnderline(bool underline);
    // Paints at once.
    void Refresh();

    void CopySettingsFrom(const Control& other) override;

private:
    bool Draw(const Cairo::RefPtr<Cairo::Context>& cr);

    Gtk::DrawingArea* area_;
    std::string caption_;
    OleColor foreColor_ = vbButtonText;
    OleColor backColor_ = vbButtonFace;
    bool transparent_ = false;
    Align alignment_ = Align::Left;
    std::string fontName_ = "Sans";
    double fontSize_ = 8;
    bool fontBold_ = false;
    bool underline_ = false;
};

}  // namespace platform
