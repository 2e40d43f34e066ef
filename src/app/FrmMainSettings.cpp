#include <algorithm>
#include <string>
#include <vector>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/FrmSplash.h"
#include "app/State.h"
#include "common/General.h"
#include "common/SettingsFile.h"
#include "menus/MenuState.h"

using namespace platform;

void FrmMain::LoadIni() {
    const auto settings = SettingsFile::ReadSettings(DataFile("browser.ini"));
    CookieTrapMode = settings.CookieTrapMode;
    NewTabMode = settings.NewTabMode;
    HistoryInNewTab = settings.HistoryInNewTab;
    SearchInNewTab = settings.SearchInNewTab;
    PopupMode = settings.PopupMode;
    SkinFolder = settings.SkinFolder;
    FastPaint = settings.FastPaint;
    DefaultPage = settings.DefaultPage;
    SearchPage = settings.SearchPage;
    NoAutoComplete = settings.NoAutoComplete;

    std::vector<std::string> words;
    FilterListUnreadable = !General::ReadListFile(DataFile("filter.dat"), words);
    lstFilter.SetItems(std::move(words));

    if (Starting == 1) {
        frmSplash->Label1.SetCaption("Loading skin...");
        frmSplash->Label1.Refresh();
    }

    // The setting names the folder the way the settings file writes it ("skins\name").
    std::string folder = SkinFolder;
    std::replace(folder.begin(), folder.end(), '\\', '/');
    LoadSkin(AppPath + "/" + folder);

    Resizing = 0;
    CurrentMenu = "";
    DropMenuOpen = 0;
    MenuMode = 0;
}
