#pragma once

#include <gtkmm/bin.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/widget.h>

#include <string>

#include "platform/color.h"

namespace platform {

// A style sheet of one control's widget: its font (which the widget's children,
// such as a caption label, inherit) and the rules the control adds to it.
class WidgetStyle {
public:
    explicit WidgetStyle(Gtk::Widget& widget);

    void SetFont(const std::string& name, double size, bool bold);
    // Rules in the widget's own CSS node names, e.g. "entry { padding: 0; }".
    void SetRules(const std::string& rules);

private:
    void Apply();

    Glib::RefPtr<Gtk::CssProvider> provider_ = Gtk::CssProvider::create();
    std::string fontName_ = "Sans";
    double fontSize_ = 8;
    bool fontBold_ = false;
    std::string rules_;
};

// The CSS colour of an OLE colour, e.g. "rgb(255,0,0)".
std::string CssColor(OleColor color);

// A toolkit caption as a GTK mnemonic label: "&x" marks the access key x and
// "&&" stands for one ampersand. The caption is shown as ScreenLine shows it.
std::string MnemonicLabel(const std::string& caption);

// Lets the caption of a check or option button wrap onto more lines within the
// button's width in pixels, as a caption longer than its box does.
void WrapCaption(Gtk::Bin& button, int width);

}  // namespace platform
