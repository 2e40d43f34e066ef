#include <glibmm/main.h>
#include <gtkmm/button.h>
#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "file_rights.h"
#include "platform/favorites_dialogs.h"
#include "platform/internet_shortcut.h"
#include "platform/msgbox.h"
#include "test_support.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

Gtk::Widget* FindWidget(Gtk::Widget& in, const std::function<bool(Gtk::Widget&)>& matches) {
    if (matches(in)) return &in;
    auto* container = dynamic_cast<Gtk::Container*>(&in);
    if (!container) return nullptr;
    for (Gtk::Widget* child : container->get_children())
        if (Gtk::Widget* found = FindWidget(*child, matches)) return found;
    return nullptr;
}

Gtk::Window* WindowTitled(const std::string& title) {
    for (Gtk::Window* window : Gtk::Window::list_toplevels())
        if (window->get_title() == title) return window;
    return nullptr;
}

class OrganiseFavouritesTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(favorites / "Tech/Linux");
        WriteInternetShortcut((favorites / "Tech/GTK.url").string(), "http://127.0.0.1/gtk");
        WriteInternetShortcut((favorites / "Tech/Linux/Kernel.url").string(), "http://127.0.0.1/kernel");
        SetMsgBoxResponder([this](const std::string& prompt, int, const std::string&) {
            told.push_back(prompt);
            return vbYes;
        });
    }
    void TearDown() override { SetMsgBoxResponder(nullptr); }

    // Clicks a button of the organise dialog as the user does.
    static void Click(const std::string& caption) {
        Gtk::Window* organise = WindowTitled("Organise Favourites");
        ASSERT_NE(organise, nullptr);
        auto* button = FindWidget(*organise, [&](Gtk::Widget& widget) {
            auto* b = dynamic_cast<Gtk::Button*>(&widget);
            return b && b->get_label() == caption;
        });
        ASSERT_NE(button, nullptr) << caption;
        static_cast<Gtk::Button*>(button)->clicked();
    }

    // Answers the rename question once it is open: notes the name offered, types
    // the new one unless it is empty, and presses OK.
    void AnswerRename(const std::string& typed) {
        Glib::signal_timeout().connect(
            [this, typed] {
                auto* ask = dynamic_cast<Gtk::Dialog*>(WindowTitled("Rename"));
                if (!ask || !ask->get_visible()) return true;
                auto* entry = static_cast<Gtk::Entry*>(
                    FindWidget(*ask, [](Gtk::Widget& widget) { return dynamic_cast<Gtk::Entry*>(&widget) != nullptr; }));
                offered = entry->get_text();
                if (!typed.empty()) entry->set_text(typed);
                ask->response(Gtk::RESPONSE_OK);
                return false;
            },
            20);
    }

    const fs::path favorites = testing_support::TempRoot() / "Favorites";
    std::vector<std::string> told;
    std::string offered;
};

TEST_F(OrganiseFavouritesTest, RenameKeepsANameThatIsNoUtf8ByteForByteUnlessTheUserChangesIt) {
    const std::string odd = "Caf\xE9 Bar";
    fs::create_directory(favorites / odd);
    OrganizeFavoritesDialog organise(favorites.string(), nullptr);

    ASSERT_TRUE(organise.Select(odd));
    AnswerRename("");
    Click("Rename");
    EXPECT_EQ(offered, "Caf\xEF\xBF\xBD Bar") << "offered as shown, with a replacement character";
    EXPECT_TRUE(fs::is_directory(favorites / odd));
    EXPECT_TRUE(told.empty());

    ASSERT_TRUE(organise.Select(odd));
    AnswerRename("Caf\xC3\xA9 Bar");
    Click("Rename");
    EXPECT_TRUE(fs::is_directory(favorites / "Caf\xC3\xA9 Bar"));
    EXPECT_FALSE(fs::exists(favorites / odd));
}

TEST_F(OrganiseFavouritesTest, DeleteSaysWhatCouldNotBeDeleted) {
    OrganizeFavoritesDialog organise(favorites.string(), nullptr);
    ASSERT_TRUE(organise.Select("Tech"));
    {
        testing_support::UnchangeableFolder locked(favorites / "Tech/Linux");
        if (!locked.Holds()) GTEST_SKIP() << "no way to lock a folder here";
        Click("Delete");
    }
    ASSERT_EQ(told.size(), 2u) << "asked, then told";
    EXPECT_EQ(told[1].rfind("Not all of \"Tech\" could be deleted.", 0), 0u) << told[1];
    EXPECT_NE(told[1].find("Tech/Linux/Kernel.url ("), std::string::npos) << told[1];
    EXPECT_EQ(told[1].find("Tech/GTK.url"), std::string::npos) << "deleted, so not named";
    EXPECT_EQ(organise.Entries(), (std::vector<std::string>{"Tech/", "Tech/Linux/", "Tech/Linux/Kernel"}));

    told.clear();
    ASSERT_TRUE(organise.Select("Tech"));
    Click("Delete");
    EXPECT_EQ(told.size(), 1u) << "asked, and nothing to tell";
    EXPECT_FALSE(fs::exists(favorites / "Tech"));
}

}  // namespace
