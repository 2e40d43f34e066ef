// The favourites cascade while it is open: row highlights, the hover-delayed
// sub-levels, the close poll, opening a favourite and the two command rows.
#include <cmath>
#include <cstdlib>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "menus/FrmFavMenu.h"
#include "menus/MenuState.h"
#include "platform/error.h"
#include "platform/internet_shortcut.h"
#include "platform/text.h"

using namespace platform;

namespace {
bool SamePath(const std::string& a, const std::string& b) { return FoldCase(a) == FoldCase(b); }

// Whether the path is the folder or lies inside it, letter case ignored.
bool PathWithin(const std::string& path, const std::string& folder) {
    const std::string p = FoldCase(path), f = FoldCase(folder);
    return p.starts_with(f) && (p.size() == f.size() || p[f.size()] == '/');
}
}  // namespace

void FrmFavMenu::Highlight(Label& row, bool on) {
    if (on) {
        row.SetTransparent(false);
        row.SetBackColor(FavMenuHighlightBack);
        row.SetForeColor(FavMenuHighlightText);
    } else {
        row.SetTransparent(true);
        row.SetForeColor(FavMenuTextColour);
    }
}

void FrmFavMenu::ResetMenuItems(std::int16_t Index) {
    labMenuItem.ForEach([&](Label& row, int i) { Highlight(row, i == Index && row.Enabled()); });
    Highlight(labAdd, Index == -2);
    Highlight(labOrganise, Index == -3);
}

void FrmFavMenu::ResetMenuFolders(std::int16_t Index) {
    auto& skin = frmMain->Skin;
    labFolder.ForEach([&](Label& row, int i) {
        Highlight(row, i == Index);
        if (picArrow.Exists(i)) picArrow(i).SetPicture(skin[i == Index ? "picArrowHi" : "picArrow"].GetPicture());
    });
    Highlight(labAdd, Index == -2);
    Highlight(labOrganise, Index == -3);
}

void FrmFavMenu::picMenuBack_MouseMove() {
    Timer2.SetEnabled(false);
    FavMenuHoverPath = Source;
    ResetMenuItems(-1);
    ResetMenuFolders(-1);
}

void FrmFavMenu::labFolder_MouseMove(int Index) {
    CurMenu = static_cast<std::int16_t>(Index);
    ResetMenuItems(-1);
    ResetMenuFolders(static_cast<std::int16_t>(Index));
    Timer2.SetEnabled(true);
}

void FrmFavMenu::labMenuItem_MouseMove(int Index) {
    Timer2.SetEnabled(false);
    auto& row = labMenuItem(Index);
    // The tooltip is read once per row while the level is open; a shortcut without
    // an address is read once while the pointer stays on its row.
    if (Index != shortcutReadRow_ && row.ToolTipText().empty()) Try([&] { row.SetToolTipText(ShortcutAddress(Index)); });
    shortcutReadRow_ = Index;
    FavMenuHoverPath = Source;
    ResetMenuItems(static_cast<std::int16_t>(Index));
    ResetMenuFolders(-1);
}

std::string FrmFavMenu::ShortcutAddress(int Index) {
    return ReadInternetShortcut(Source + "/" + File1.List(Index));
}

void FrmFavMenu::labMenuItem_Click(int Index) {
    MenuMode = 0;
    // A row of a folder that was emptied meanwhile, or a shortcut without an
    // address, has nothing to open: the cascade only closes.
    const std::string A = Index < File1.ListCount() ? ShortcutAddress(Index) : "";
    auto& main = frmMain.Get();
    main.ResetButtons(-1);
    main.ResetMenus(main.labDummy);
    if (!A.empty()) {
        main.Combo1.SetText(A);
        main.Picture3.SetPicture(main.PicStore(0).GetPicture());
        main.WebBrowser1(CurrentTab).Navigate(main.Combo1.Text());
        main.Timer1(CurrentTab).SetEnabled(true);
    }
    FavMenuHoverPath = "";
    Try([&] { main.SetFocus(); });
}

void FrmFavMenu::labAdd_MouseMove() {
    FavMenuHoverPath = Source;
    ResetMenuItems(-2);
    ResetMenuFolders(-2);
}

void FrmFavMenu::labOrganise_MouseMove() {
    FavMenuHoverPath = Source;
    ResetMenuItems(-3);
    ResetMenuFolders(-3);
}

template <typename Dialog>
void FrmFavMenu::RunCommandRow(Dialog&& dialog) {
    MenuMode = 0;
    auto& main = frmMain.Get();
    main.ResetButtons(-1);
    main.ResetMenus(main.labDummy);
    dialog(main);
    FavMenuHoverPath = "";
}

void FrmFavMenu::labAdd_Click() {
    RunCommandRow([](FrmMain& main) { main.AddToFavorites(); });
}

void FrmFavMenu::labOrganise_Click() {
    RunCommandRow([](FrmMain& main) { main.ShowOrgFavs(); });
}

void FrmFavMenu::Timer2_Timer() {
    Timer2.SetEnabled(false);
    const int i = CurMenu;
    const double R = TopLevel ? labAdd.Top() : labFolder(0).Top();
    // The row may have scrolled out meanwhile: its place is where the level lays it.
    const double MenuTop = folderRows_.Top(i) + Top() - R - std::abs(picMenuBack.Top());
    const double MenuLeft = Left() + Width() - 60;
    CreateNextMenu(static_cast<std::int16_t>(i), static_cast<std::int32_t>(std::lround(MenuTop)),
                   static_cast<std::int32_t>(std::lround(MenuLeft)));
}

void FrmFavMenu::CreateNextMenu(std::int16_t Index, std::int32_t MenuTop, std::int32_t MenuLeft) {
    const std::string P = Source + "/" + folderRows_.captions.at(Index);
    if (SamePath(P, FavMenuHoverPath)) return;
    FavMenuHoverPath = P;
    auto& level = NewInstance<FrmFavMenu>();
    level.SetTop(MenuTop);
    level.SetLeft(MenuLeft);
    level.Source = P;
    level.GetMenuItems(P);
    level.Show(vbModeless, &frmMain.Get());
}

void FrmFavMenu::Timer1_Timer() {
    // A level without a folder (the Favorites folder could not be had) holds no
    // path, not every one: it closes.
    if (!Source.empty() && PathWithin(FavMenuHoverPath, Source)) return;
    if (DropMenuOpen != 1 && TopLevel) {
        auto& main = frmMain.Get();
        main.ResetButtons(-1);
        main.ResetMenus(main.labDummy);
        MenuMode = 0;
    }
    Unload();
}

void FrmFavMenu::Form_Unload(int& /*Cancel*/) {
    // A closed level wakes nobody.
    Timer1.SetEnabled(false);
    Timer2.SetEnabled(false);
}
