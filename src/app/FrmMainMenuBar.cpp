#include <cmath>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "common/General.h"
#include "menus/MenuModule.h"
#include "menus/MenuState.h"
#include "platform/error.h"

using namespace platform;

namespace {
// The title labels in their order on the bar, with their design places in Picture9.
struct Title {
    Label FrmMain::*label;
    const char* caption;
    double left, top, width, height;
};
constexpr Title Titles[] = {
    {&FrmMain::mnuFile, "File", 120, 90, 360, 195},     {&FrmMain::Label1, "Edit", 600, 90, 375, 195},
    {&FrmMain::Label2, "View", 1080, 90, 465, 195},     {&FrmMain::labFavs, "Favourites", 1680, 95, 855, 195},
    {&FrmMain::Label3, "Launch", 2640, 90, 660, 195},   {&FrmMain::Label5, "Tabs", 3360, 90, 480, 195},
    {&FrmMain::Label4, "Help", 3960, 90, 450, 195},
};

std::string WithoutCommas(std::string text) {
    for (char& c : text)
        if (c == ',') c = ' ';
    return text;
}

// Single-precision twips summed and rounded to the nearest whole twip, halves to even.
std::int32_t ScreenTwips(float sum) { return static_cast<std::int32_t>(std::nearbyint(sum)); }
}  // namespace

void FrmMain::CreateMenuBar() {
    for (const auto& title : Titles) {
        Label& label = this->*title.label;
        label.PlaceIn(Picture9);
        label.Move(title.left, title.top, title.width, title.height);
        label.SetCaption(title.caption);
        label.SetTransparent(true);
    }
    mnuFile.Click = [this] { mnuFile_Click(); };
    Label1.Click = [this] { Label1_Click(); };
    Label2.Click = [this] { Label2_Click(); };
    labFavs.Click = [this] { labFavs_Click(); };
    Label3.Click = [this] { Label3_Click(); };
    Label5.Click = [this] { Label5_Click(); };
    Label4.Click = [this] { Label4_Click(); };
    mnuFile.MouseMove = [this](int, int, double, double) { mnuFile_MouseMove(); };
    Label1.MouseMove = [this](int, int, double, double) { Label1_MouseMove(); };
    Label2.MouseMove = [this](int, int, double, double) { Label2_MouseMove(); };
    labFavs.MouseMove = [this](int, int, double, double) { labFavs_MouseMove(); };
    Label3.MouseMove = [this](int, int, double, double) { Label3_MouseMove(); };
    Label5.MouseMove = [this](int, int, double, double) { Label5_MouseMove(); };
    Label4.MouseMove = [this](int, int, double, double) { Label4_MouseMove(); };
    CoolBar1.MouseMove = [this](int, int, double, double) { CoolBar1_MouseMove(); };
    Picture9.MouseMove = [this](int, int, double, double) { Picture9_MouseMove(); };
}

// A click on a title starts menu mode; its menu opens as the pointer moves on.
void FrmMain::mnuFile_Click() { MenuMode = 1; }
void FrmMain::Label1_Click() { MenuMode = 1; }
void FrmMain::Label2_Click() { MenuMode = 1; }
void FrmMain::labFavs_Click() { MenuMode = 1; }
void FrmMain::Label3_Click() { MenuMode = 1; }
void FrmMain::Label5_Click() { MenuMode = 1; }
void FrmMain::Label4_Click() { MenuMode = 1; }

std::int32_t FrmMain::MenuLeftUnder(const Label& Title) {
    return ScreenTwips(static_cast<float>(Left()) + static_cast<float>(Title.Left()));
}

std::int32_t FrmMain::MenuTopUnder(const Label& Title) {
    return ScreenTwips(static_cast<float>(Top()) + static_cast<float>(Picture9.Top()) + static_cast<float>(Title.Top()) +
                       static_cast<float>(Title.Height()));
}

void FrmMain::DropMenuFromTitle(Label& Title, const std::string& Key, const std::function<std::string()>& BuildItems) {
    ResetMenus(Title);
    if (MenuMode == 0) return;
    if (CurrentMenu != Key) frmMenu.Unload();
    FavMenuHoverPath = "";
    CurrentMenu = Key;
    MenuModule::ShowMenu(MenuLeftUnder(Title), MenuTopUnder(Title), BuildItems());
}

void FrmMain::mnuFile_MouseMove() {
    DropMenuFromTitle(mnuFile, "file", [this] {
        return std::string("New Tab,New Window,Open...,Save as...,-,Remove Tab,-,Print...,-,") +
               (WebBrowser1(CurrentTab).Offline() ? "Work Online" : "Work Offline") + ",Close";
    });
}

void FrmMain::Label1_MouseMove() {
    DropMenuFromTitle(Label1, "edit", [] { return std::string("Cut,Copy,Paste,-,Select All,-,Find (on this page) ..."); });
}

void FrmMain::Label2_MouseMove() {
    DropMenuFromTitle(Label2, "view", [] {
        return std::string(
            "Forward,Back,Stop,Refresh,-,History,Search,-,Source,-,Cookies...,-,Browser Options...,Internet Options...");
    });
}

void FrmMain::Label5_MouseMove() {
    DropMenuFromTitle(Label5, "tabs", [this] { return TabsMenuItems(); });
}

void FrmMain::Label4_MouseMove() {
    DropMenuFromTitle(Label4, "help", [] { return std::string("About..."); });
}

std::string FrmMain::TabsMenuItems() {
    std::string items = "Save Tab Layout...,Restore Tab Layout...,-,";
    int n = 0;
    for (int i = 0; i <= WebBrowser1.UBound(); ++i) {
        // A closed tab is skipped and not counted.
        Try([&] {
            const std::string title = WebBrowser1(i).LocationName();
            ++n;
            items += (n > 1 ? "," : "") + std::to_string(n) + ". " + WithoutCommas(title);
        });
    }
    return items;
}

// The launch list is read afresh each time the launch menu is entered, once.
void FrmMain::Label3_MouseMove() {
    ResetMenus(Label3);
    if (MenuMode == 0) return;
    if (CurrentMenu == "launch") return;
    frmMenu.Unload();
    FavMenuHoverPath = "";
    CurrentMenu = "launch";
    lstLaunchNames.Clear();
    lstLaunchRun.Clear();
    // A missing launch.dat, a name without its command line or any other failure opens no menu.
    Try([this] {
        General::LineReader file(DataFile("launch.dat"));
        while (!file.AtEnd()) {
            lstLaunchNames.AddItem(file.ReadLine());
            lstLaunchRun.AddItem(file.ReadLine());
        }
        // A comma would split a name into two rows and put every later row against
        // another entry's command line: it is shown as a blank.
        std::string items = "Customise,-";
        for (const auto& name : lstLaunchNames.Items()) items += "," + WithoutCommas(name);
        MenuModule::ShowMenu(MenuLeftUnder(Label3), MenuTopUnder(Label3), items);
    });
}

// In menu mode, hovering the favourites title opens the favourites menu.
void FrmMain::labFavs_MouseMove() {
    ResetMenus(labFavs);
    if (MenuMode == 0) return;
    CurrentMenu = "favourites";
    TimerMenus.SetEnabled(false);
    OpenFavourites();
}

void FrmMain::ResetMenus(Label& Lbl) {
    for (Label* title : {&Label1, &Label2, &Label3, &Label4, &Label5, &mnuFile, &labFavs}) {
        title->SetForeColor(MenuTextColour);
        title->SetTransparent(true);
    }
    Lbl.SetForeColor(MenuHighlightTextColour);
    Lbl.SetTransparent(false);
    Lbl.SetBackColor(MenuHighlightColour);
    TimerMenus.SetEnabled(true);
}

void FrmMain::TimerMenus_Timer() {
    ResetMenus(labDummy);
    ResetButtons(-1);
    TimerMenus.SetEnabled(false);
}

void FrmMain::CoolBar1_MouseMove() {
    ResetMenus(labDummy);
    ResetButtons(-1);
}

void FrmMain::Picture9_MouseMove() {
    ResetMenus(labDummy);
    ResetButtons(-1);
}
