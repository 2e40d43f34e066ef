#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/popover.h>
#include <gtkmm/searchentry.h>

#include <string>

typedef struct _WebKitFindController WebKitFindController;

namespace platform {

// A small bar over the top of a browser view for finding text in its page: a
// search field, buttons for the previous and next match, and the outcome.
class FindBar : public Gtk::Popover {
public:
    FindBar(Gtk::Widget& view, WebKitFindController* controller);
    ~FindBar() override;

    // Shows the bar with the focus in its search field.
    void Open();
    // Looks for the text as typing it into the field does.
    void Find(const std::string& text);
    void FindNext();
    void FindPrevious();
    // What the bar says about the last search: "1 match", "3 matches",
    // "Phrase not found", or "" before any search.
    std::string Outcome() const { return outcome_.get_text(); }

private:
    void SearchFieldChanged();
    void Found(unsigned matches);
    void NotFound();
    void on_closed() override;

    WebKitFindController* controller_;
    Gtk::Box box_;
    Gtk::SearchEntry field_;
    Gtk::Button previous_;
    Gtk::Button next_;
    Gtk::Label outcome_;
};

}  // namespace platform
