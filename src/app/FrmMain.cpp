#include "app/FrmMain.h"

#include <algorithm>

#include "app/BuiltinSkin.h"
#include "app/Forms.h"
#include "app/State.h"
#include "menus/MenuState.h"
#include "platform/app.h"
#include "platform/error.h"

using namespace platform;

FrmMain::FrmMain() : Form(FormStyle{.borderless = true, .showInTaskbar = false}) {
    SetCaption("Quellin");
    SetWidth(10605);
    SetHeight(6810);
    CreateFace();
    CreateTabs();
}

void FrmMain::CreateFace() {
    Picture4.PlaceIn(*this);
    Picture4.Move(0, 0, 9735, 300);
    labCaption.PlaceIn(Picture4);
    labCaption.Move(430, 75, 2415, 255);
    labCaption.SetTransparent(true);
    labCaption.SetFont("Sans", 8, true);

    Picture3.PlaceIn(*this);
    Picture3.Move(9600, 300, 735, 360);

    CoolBar1.PlaceIn(*this);
    CoolBar1.Move(80, 660, 9255, 525);
    Combo1.PlaceIn(CoolBar1);
    Combo1.Move(4200, 100, 4785, 315);

    Picture2.PlaceIn(*this);
    Picture2.Move(80, 1180, 6390, 375);
    Picture1.PlaceIn(*this);
    Picture1.Move(80, 1560, 3495, 1455);

    Picture10.PlaceIn(*this);
    Picture10.Move(0, 5880, 9495, 255);
    StatusBar1.PlaceIn(Picture10);
    StatusBar1.Move(120, 15, 495, 195);
    StatusBar1.SetTransparent(true);
    StatusBar1.SetCaption("Status:");
    picProgress.PlaceIn(Picture10);
    picProgress.Move(8400, 30, 1380, 195);
    picProgress.SetVisible(false);

    // The animation frames are hidden picture boxes that size themselves to their bitmap.
    PicStore.Create([this](PictureBox& frame, int index) {
        frame.PlaceIn(*this);
        frame.AutoSize = true;
        frame.SetVisible(false);
        frame.SetPicture(Picture(BuiltinSkin::Frame(index)));
    });
    for (int i = 1; i <= 8; ++i) PicStore.Load(i);

    Timer2.SetEnabled(false);
    Timer2.SetInterval(100);
    Timer2.Tick = [this] { Timer2_Timer(); };
    Timer3.SetInterval(2000);
    Timer3.Tick = [this] { Timer3_Timer(); };

    for (ListBox* list : {&lstFilter, &lstCookies, &lstMenu}) {
        list->PlaceIn(*this);
        list->SetVisible(false);
    }
}

void FrmMain::CreateTabs() {
    WebBrowser1.Create([this](WebBrowser& browser, int index) {
        browser.PlaceIn(Picture1);
        browser.Move(0, 0, Picture1.Width(), Picture1.Height());
        auto& events = browser.View().events;
        events.DownloadBegin = [this, index] { WebBrowser1_DownloadBegin(index); };
        events.TitleChange = [this, index](const std::string&) { WebBrowser1_TitleChange(index); };
        events.DocumentComplete = [this, index](const std::string&) { WebBrowser1_DocumentComplete(index); };
    });
    picTab.Create([this](PictureBox& face, int) {
        face.PlaceIn(Picture2);
        face.Move(0, 60, 2250, 315);
    });
    Timer1.Create([this](Timer& timer, int index) {
        timer.SetEnabled(false);
        timer.SetInterval(5);
        timer.Tick = [this, index] { Timer1_Timer(index); };
    });
}

void FrmMain::Form_Load() {
    ::AppPath = platform::AppPath();
    if (!::AppPath.empty() && ::AppPath.back() == '/') ::AppPath.pop_back();
    Closing = 0;

    MenuHighlightColour = 0x80000012;
    MenuTextColour = 0x80000012;
    MenuHighlightTextColour = 0x80000005;
    TabTextColour = 0x80000005;
    TabTextDisabledColour = 0x80000012;
    StatusTextColour = 0;
    ProgressBarColour = 0x80000012;

    Timer2.SetInterval(200);
    labCaption.SetForeColor(0);

    frmSplash->Label1.SetCaption("Loading preferences...");
    frmSplash->Label1.Refresh();
    LoadIni();

    frmSplash->Label1.SetCaption("Analysing cookie cache...");
    frmSplash->Label1.Refresh();
    GetCookies();

    frmSplash->Label1.SetCaption("Setting up initial tabs...");
    frmSplash->Label1.Refresh();
    StatusBar1.SetForeColor(StatusTextColour);
    picProgress.SetBackColor(ProgressBarColour);
    BusyFrame = 0;
    Picture3.SetPicture(PicStore(8).GetPicture());
    CurrentTab = 0;

    std::string address = Command();
    if (!address.empty()) {
        address.erase(std::remove(address.begin(), address.end(), '"'), address.end());
        WebBrowser1(0).Navigate(address);
    } else {
        WebBrowser1(0).GoHome();
    }
    Timer1(0).SetEnabled(true);
    DoEvents();

    frmSplash->Label1.SetCaption("Starting browser...");
    frmSplash->Label1.Refresh();
    Form_Resize();
    UpdateBrowsers();
    frmSplash.Unload();
    if (StartMaximised == "1") MaxiWindow();
    Starting = 0;
    frmDummy->Show();
}

void FrmMain::Form_Activate() { FavMenuHoverPath = ""; }

void FrmMain::Form_GotFocus() {
    FavMenuHoverPath = "";
    if (WindowState() == vbMinimized) {
        SetWindowState(vbNormal);
        SetVisible(true);
    }
}

void FrmMain::Form_Unload(int& /*Cancel*/) {
    SkipFailures([] { Closing = 1; },
                 [this] { Hide(); },
                 [] { DoEvents(); },
                 [this] { RemoveAllTabs(); });
    // The closing-down window of the cookie trap is not there yet: every mode ends here.
    End();
}

void FrmMain::RemoveAllTabs() {
    const int upper = WebBrowser1.UBound();
    for (int index = 0; index <= upper; ++index) {
        CurrentTab = static_cast<std::int16_t>(index);
        SkipFailures([&] { WebBrowser1.Unload(index); },
                     [&] { picTab.Unload(index); },
                     [&] { Timer1.Unload(index); });
    }
}
