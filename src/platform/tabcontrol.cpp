#include "platform/tabcontrol.h"

#include "platform/app.h"
#include "platform/error.h"

namespace platform {

TabControl::TabControl(int tabs)
    : Control(std::make_unique<Gtk::Fixed>()), fixed_(static_cast<Gtk::Fixed*>(&Widget())), style_(notebook_) {
    style_.SetRules("notebook tab { min-height: 0; min-width: 0; padding: 3px 2px; margin: 0; } "
                    "notebook header tabs { margin: 0; }");
    notebook_.set_scrollable(false);
    notebook_.show();
    fixed_->put(notebook_, 0, 0);
    SetTabs(tabs);
    switched_ = notebook_.signal_switch_page().connect([this](Gtk::Widget*, guint page) {
        if (static_cast<int>(page) == tab_) return;
        tab_ = static_cast<int>(page);
        ShowCurrentPage();
        if (Click) DispatchWhileAlive([this] { Click(); });
    });
}

// The pages go before the notebook, which switches pages as they leave it.
TabControl::~TabControl() { switched_.disconnect(); }

void TabControl::SetTabs(int tabs) {
    if (tabs < 1) throw ToolkitError(errors::InvalidPropertyValue, "Invalid property value");
    while (Tabs() < tabs) {
        auto page = std::make_unique<TabPage>();
        page->caption = "Tab " + std::to_string(Tabs());
        notebook_.append_page(page->placeholder, page->caption);
        // The tabs share the row equally, as wide as the control.
        notebook_.child_property_tab_expand(page->placeholder) = true;
        page->placeholder.show();
        fixed_->put(page->area, 0, 0);
        pages_.push_back(std::move(page));
    }
    while (Tabs() > tabs) {
        notebook_.remove_page(Tabs() - 1);
        fixed_->remove(pages_.back()->area);
        pages_.pop_back();
    }
    if (tab_ >= tabs) SetTab(tabs - 1);
    GeometryChanged();
    ShowCurrentPage();
}

void TabControl::CheckTab(int tab) const {
    if (tab < 0 || tab >= Tabs()) throw ToolkitError(errors::InvalidPropertyValue, "Invalid property value");
}

void TabControl::SetTab(int tab) {
    CheckTab(tab);
    notebook_.set_current_page(tab);
}

const std::string& TabControl::TabCaption(int tab) const {
    CheckTab(tab);
    return pages_[tab]->caption;
}

void TabControl::SetTabCaption(int tab, const std::string& caption) {
    CheckTab(tab);
    pages_[tab]->caption = caption;
    notebook_.set_tab_label_text(pages_[tab]->placeholder, MnemonicLabel(caption));
    if (auto* label = dynamic_cast<Gtk::Label*>(notebook_.get_tab_label(pages_[tab]->placeholder)))
        label->set_use_underline(true);
}

Container& TabControl::Page(int tab) {
    CheckTab(tab);
    return *pages_[tab];
}

void TabControl::ShowCurrentPage() {
    for (int i = 0; i < Tabs(); ++i) pages_[i]->area.set_visible(i == tab_);
}

void TabControl::GeometryChanged() {
    notebook_.set_size_request(PixelWidth(), PixelHeight());
    for (auto& page : pages_) page->area.set_size_request(PixelWidth(), PixelHeight());
}

}  // namespace platform
