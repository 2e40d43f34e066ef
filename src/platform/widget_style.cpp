#include "platform/widget_style.h"

#include <gtkmm/label.h>

#include <algorithm>
#include <cmath>
#include <locale>
#include <sstream>

#include "platform/text.h"

namespace platform {

WidgetStyle::WidgetStyle(Gtk::Widget& widget) {
    widget.get_style_context()->add_provider(provider_, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    Apply();
}

void WidgetStyle::SetFont(const std::string& name, double size, bool bold) {
    fontName_ = name;
    fontSize_ = size;
    fontBold_ = bold;
    Apply();
}

void WidgetStyle::SetRules(const std::string& rules) {
    rules_ = rules;
    Apply();
}

void WidgetStyle::Apply() {
    std::ostringstream css;
    css.imbue(std::locale::classic());
    css << "* { font-family: \"" << fontName_ << "\"; font-size: " << fontSize_
        << "pt; font-weight: " << (fontBold_ ? "bold" : "normal") << "; } " << rules_;
    provider_->load_from_data(css.str());
}

std::string CssColor(OleColor color) {
    const Rgb rgb = ToRgb(color);
    auto byte = [](double part) { return std::to_string(static_cast<int>(std::lround(part * 255))); };
    return "rgb(" + byte(rgb.red) + "," + byte(rgb.green) + "," + byte(rgb.blue) + ")";
}

std::string MnemonicLabel(const std::string& text) {
    const std::string caption = ScreenLine(text);
    std::string label;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        if (c == '&' && i + 1 < caption.size()) {
            label += caption[++i] == '&' ? "&" : "_" + std::string(1, caption[i]);
        } else if (c == '_') {
            label += "__";
        } else {
            label += c;
        }
    }
    return label;
}

void WrapCaption(Gtk::Bin& button, int width) {
    auto* label = dynamic_cast<Gtk::Label*>(button.get_child());
    if (!label) return;
    // The indicator and its spacing take this much of the width.
    constexpr int indicatorWidth = 22;
    label->set_line_wrap(true);
    label->set_xalign(0);
    label->set_size_request(std::max(1, width - indicatorWidth), -1);
}

}  // namespace platform
