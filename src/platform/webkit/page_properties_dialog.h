#pragma once

#include <gtkmm/dialog.h>
#include <gtkmm/grid.h>

#include <string>

namespace platform {

// A small window on the page shown in a browser view: its title, its address and,
// when the engine knows it, its content type. It lives until the user closes it.
// A value longer than a screen line is shown cut, and copied whole.
class PagePropertiesDialog : public Gtk::Dialog {
public:
    static PagePropertiesDialog& Show(Gtk::Window* parent, const std::string& title, const std::string& address,
                                      const std::string& contentType);

    // The value shown beside a caption ("Title:", "Address:", "Type:"); "" when that row is not shown.
    std::string Value(const std::string& caption) const;

private:
    PagePropertiesDialog(const std::string& title, const std::string& address, const std::string& contentType);
    void AddRow(const std::string& caption, const std::string& value);
    void on_response(int response) override;
    void on_hide() override;

    Gtk::Grid rows_;
    int rowCount_ = 0;
    bool closing_ = false;
};

}  // namespace platform
