#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../app/tabs_fixture.h"
#include "common/Module2.h"
#include "menus/FrmFavMenu.h"
#include "menus/MenuState.h"
#include "platform/form.h"
#include "platform/screen.h"
#include "platform/shell_folders.h"
#include "test_support.h"

// The program started on a page, with a Favorites folder that each test fills,
// and helpers that open and find the levels of the favourites cascade.
class FavMenuTest : public TabsFixture {
protected:
    void SetUp() override {
        TabsFixture::SetUp();
        platform::SetWorkAreaForTesting({0, 0, 1024, 768});
        favorites = Module2::FindSystemFolder(platform::CSIDL_FAVORITES);
        ASSERT_FALSE(favorites.empty());
        // The main window's first activation clears the hover path: let it pass before a level opens.
        testing_support::Pump([&] { return Main().Window().property_is_active().get_value(); }, 2000);
    }

    void MakeFolder(const std::string& relative) { std::filesystem::create_directories(favorites + "/" + relative); }

    void MakeShortcut(const std::string& relative, const std::string& address) {
        std::ofstream(favorites + "/" + relative, std::ios::binary) << "[InternetShortcut]\r\nURL=" << address << "\r\n";
    }

    // Opens the top level over the Favorites folder at (left, top), as the menu bar's title does.
    FrmFavMenu& OpenTop(double top = 1500, double left = 1500) {
        FavMenuHoverPath = favorites;
        auto& level = frmFavMenu.Get();
        level.SetTop(top);
        level.SetLeft(left);
        level.TopLevel = true;
        level.Source = favorites;
        level.GetMenuItems(favorites);
        level.Show();
        return level;
    }

    // A sub-level of a folder, made as the level above would make it.
    FrmFavMenu& OpenSub(const std::string& relative, double top = 1500) {
        const std::string path = favorites + "/" + relative;
        FavMenuHoverPath = path;
        auto& level = platform::NewInstance<FrmFavMenu>();
        level.SetTop(top);
        level.SetLeft(3000);
        level.Source = path;
        level.GetMenuItems(path);
        level.Show();
        return level;
    }

    // The open levels' folders relative to the Favorites folder ("" for the top), in opening order.
    std::vector<std::string> OpenFolders() {
        std::vector<std::string> folders;
        for (auto* form : platform::LoadedForms())
            if (auto* level = dynamic_cast<FrmFavMenu*>(form))
                folders.push_back(level->Source.substr(std::min(favorites.size() + 1, level->Source.size())));
        return folders;
    }

    FrmFavMenu* Level(const std::string& relative) {
        const std::string path = relative.empty() ? favorites : favorites + "/" + relative;
        for (auto* form : platform::LoadedForms())
            if (auto* level = dynamic_cast<FrmFavMenu*>(form); level && level->Source == path) return level;
        return nullptr;
    }

    bool WaitForFolders(const std::vector<std::string>& folders) {
        return testing_support::Pump([&] { return OpenFolders() == folders; });
    }

    std::string favorites;
};
