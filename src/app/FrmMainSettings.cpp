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
    Settings = SettingsFile::ReadSettings(DataFile("browser.ini"));

    std::vector<std::string> words;
    FilterListUnreadable = !General::ReadListFile(DataFile("filter.dat"), words);
    lstFilter.SetItems(std::move(words));

    if (Starting == 1) {
        frmSplash->Label1.SetCaption("Loading skin...");
        frmSplash->Label1.Refresh();
    }

    // The setting names the folder the way the settings file writes it ("skins\name").
    std::string folder = Settings.SkinFolder;
    std::replace(folder.begin(), folder.end(), '\\', '/');
    LoadSkin(AppPath + "/" + folder);

    Resizing = 0;
    CurrentMenu = "";
    DropMenuOpen = 0;
    MenuMode = 0;
}
