#include <gtest/gtest.h>
#include <glibmm/main.h>
#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>
#include <gtkmm/window.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/browser_view.h"
#include "platform/internet_options.h"

namespace {

// Finds the entry of the open Internet Options window, types into it and presses OK.
void AnswerWithHomePage(const std::string& address, std::string& shown) {
    Glib::signal_timeout().connect(
        [&shown, address] {
            for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
                auto* dialog = dynamic_cast<Gtk::Dialog*>(window);
                if (!dialog || !dialog->get_visible() || dialog->get_title() != "Internet Options") continue;
                std::vector<Gtk::Widget*> pending{dialog->get_content_area()};
                while (!pending.empty()) {
                    Gtk::Widget* widget = pending.back();
                    pending.pop_back();
                    if (auto* entry = dynamic_cast<Gtk::Entry*>(widget)) {
                        shown = entry->get_text();
                        entry->set_text(address);
                    } else if (auto* container = dynamic_cast<Gtk::Container*>(widget)) {
                        for (auto* child : container->get_children()) pending.push_back(child);
                    }
                }
                dialog->response(Gtk::RESPONSE_OK);
                return false;
            }
            return true;
        },
        50);
}

TEST(InternetOptions, TheHomePageSetInTheWindowIsKeptAndReadAtTheNextStart) {
    std::filesystem::remove(platform::InternetOptionsFile());
    platform::SetHomePage("about:blank");
    std::string shown;
    AnswerWithHomePage("http://127.0.0.1/home", shown);
    platform::ShowInternetOptions();
    EXPECT_EQ(shown, "about:blank");
    EXPECT_EQ(platform::HomePage(), "http://127.0.0.1/home");

    platform::SetHomePage("about:blank");
    platform::LoadInternetOptions();
    EXPECT_EQ(platform::HomePage(), "http://127.0.0.1/home");

    // A file that cannot be read leaves the home page as it is.
    std::ofstream(platform::InternetOptionsFile()) << "not a key file [";
    platform::LoadInternetOptions();
    EXPECT_EQ(platform::HomePage(), "http://127.0.0.1/home");
    std::filesystem::remove(platform::InternetOptionsFile());
}

}  // namespace
