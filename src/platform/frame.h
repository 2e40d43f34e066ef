#pragma once

#include <gtkmm/fixed.h>
#include <gtkmm/frame.h>
#include <gtkmm/label.h>

#include <string>

#include "platform/container.h"
#include "platform/control.h"
#include "platform/widget_style.h"

namespace platform {

// A frame: a captioned border around the controls placed in it. Their positions
// count from the frame's top-left corner, caption included.
class Frame : public Control, public Container {
public:
    Frame();

    Gtk::Fixed& ChildArea() override { return *area_; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    void SetFont(const std::string& name, double size, bool bold) { style_.SetFont(name, size, bold); }

protected:
    void GeometryChanged() override;

private:
    Gtk::Fixed* area_;
    Gtk::Frame border_;
    Gtk::Label label_;
    WidgetStyle style_;
    std::string caption_;
};

}  // namespace platform
