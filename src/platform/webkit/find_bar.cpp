#include "platform/webkit/find_bar.h"

#include <webkit2/webkit2.h>

#include <algorithm>

namespace platform {

namespace {
// Counting stops here; more matches are reported as "more than" this.
constexpr unsigned MaxMatches = 1000;
constexpr unsigned Options = WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND;
}  // namespace

FindBar::FindBar(Gtk::Widget& view, WebKitFindController* controller)
    : controller_(WEBKIT_FIND_CONTROLLER(g_object_ref(controller))), box_(Gtk::ORIENTATION_HORIZONTAL, 4) {
    set_relative_to(view);
    set_position(Gtk::POS_BOTTOM);
    set_modal(false);
    previous_.set_image_from_icon_name("go-up-symbolic");
    previous_.set_tooltip_text("Previous match");
    next_.set_image_from_icon_name("go-down-symbolic");
    next_.set_tooltip_text("Next match");
    box_.set_border_width(4);
    box_.pack_start(field_);
    box_.pack_start(previous_, Gtk::PACK_SHRINK);
    box_.pack_start(next_, Gtk::PACK_SHRINK);
    box_.pack_start(outcome_, Gtk::PACK_SHRINK);
    box_.show_all();
    add(box_);

    field_.signal_search_changed().connect([this] { SearchFieldChanged(); });
    field_.signal_activate().connect([this] { FindNext(); });
    field_.signal_next_match().connect([this] { FindNext(); });
    field_.signal_previous_match().connect([this] { FindPrevious(); });
    field_.signal_stop_search().connect([this] { popdown(); });
    previous_.signal_clicked().connect([this] { FindPrevious(); });
    next_.signal_clicked().connect([this] { FindNext(); });

    g_signal_connect(controller_, "found-text", G_CALLBACK(+[](WebKitFindController*, guint matches, gpointer self) {
        static_cast<FindBar*>(self)->Found(matches);
    }), this);
    g_signal_connect(controller_, "failed-to-find-text", G_CALLBACK(+[](WebKitFindController*, gpointer self) {
        static_cast<FindBar*>(self)->NotFound();
    }), this);
}

FindBar::~FindBar() {
    g_signal_handlers_disconnect_by_data(controller_, this);
    webkit_find_controller_search_finish(controller_);
    g_object_unref(controller_);
}

void FindBar::Open() {
    Gtk::Widget* view = get_relative_to();
    // Near the top right corner of the view, clear of where reading starts.
    set_pointing_to(Gdk::Rectangle(std::max(0, view->get_allocated_width() - 120), 0, 1, 1));
    popup();
    field_.grab_focus();
}

void FindBar::Find(const std::string& text) {
    field_.set_text(text);
    SearchFieldChanged();
}

void FindBar::SearchFieldChanged() {
    const std::string text = field_.get_text();
    if (text.empty()) {
        webkit_find_controller_search_finish(controller_);
        outcome_.set_text("");
        return;
    }
    webkit_find_controller_search(controller_, text.c_str(), Options, MaxMatches);
}

void FindBar::FindNext() {
    if (!field_.get_text().empty()) webkit_find_controller_search_next(controller_);
}

void FindBar::FindPrevious() {
    if (!field_.get_text().empty()) webkit_find_controller_search_previous(controller_);
}

void FindBar::Found(unsigned matches) {
    if (matches > MaxMatches)
        outcome_.set_text("More than " + std::to_string(MaxMatches) + " matches");
    else
        outcome_.set_text(std::to_string(matches) + (matches == 1 ? " match" : " matches"));
}

void FindBar::NotFound() { outcome_.set_text("Phrase not found"); }

void FindBar::on_closed() {
    Gtk::Popover::on_closed();
    webkit_find_controller_search_finish(controller_);
}

}  // namespace platform
