// The main window's links to the shell's favourites: the favourites menu on the
// Favorites folder, the organise and add dialogs.
#include "app/FrmMain.h"
#include "app/State.h"
#include "common/Module2.h"
#include "menus/FrmFavMenu.h"
#include "menus/MenuState.h"
#include "platform/favorites_dialogs.h"
#include "platform/shell_folders.h"

std::string FrmMain::GetFolderPath(const std::int32_t& FolderId) {
    std::string path;
    return platform::SpecialFolderPath(FolderId, path) ? path : "";
}

void FrmMain::ShowOrgFavs() {
    const std::string Path = GetFolderPath(platform::CSIDL_FAVORITES);
    platform::DoOrganizeFavDlg(this, Path);
}

void FrmMain::AddToFavorites() {
    const std::string Title = WebBrowser1(CurrentTab).LocationName();
    const std::string Address = WebBrowser1(CurrentTab).LocationURL();
    platform::AddFavorite(Address, Title, this);
}

void FrmMain::OpenFavourites() {
    auto& top = frmFavMenu.Get();
    if (top.Visible()) {
        top.SetFocus();
        return;
    }
    const std::string path = Module2::FindSystemFolder(platform::CSIDL_FAVORITES);
    FavMenuHoverPath = path;
    top.SetTop(static_cast<float>(Picture9.Top()) + static_cast<float>(labFavs.Top()) +
               static_cast<float>(labFavs.Height()) + static_cast<float>(Top()));
    top.SetLeft(static_cast<float>(labFavs.Left()) + static_cast<float>(Left()));
    top.TopLevel = true;
    top.Source = path;
    top.GetMenuItems(path);
    top.Show(platform::vbModeless, this);
    // The level takes the activation, so that a click back on the main window
    // activates it and closes the cascade: a window manager gives no focus of its
    // own to a window shown on a mere mouse move.
    top.SetFocus();
}
