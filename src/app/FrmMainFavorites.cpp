// The main window's links to the shell's favourites: the organise and add dialogs.
#include "app/FrmMain.h"
#include "app/State.h"
#include "platform/favorites_dialogs.h"
#include "platform/shell.h"

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
