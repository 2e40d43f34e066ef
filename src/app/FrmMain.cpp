#include "app/FrmMain.h"

#include <algorithm>

#include "app/AppIcon.h"
#include "app/BuiltinSkin.h"
#include "app/Forms.h"
#include "app/FrmDummy.h"
#include "app/FrmSplash.h"
#include "app/SkinTable.h"
#include "app/State.h"
#include "cookies/CookieForms.h"
#include "cookies/FrmCleanup.h"
#include "cookies/FrmCookies.h"
#include "menus/FrmFavMenu.h"
#include "menus/MenuState.h"
#include "platform/app.h"
#include "platform/color.h"
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
    Place(Picture4, *this, 0, 0, 9735, 300);
    Image1.PlaceIn(Picture4);
    Image1.Move(120, 60, 240, 240);
    Image1.SetPicture(Picture(AppIconSurface()));
    labCaption.PlaceIn(Picture4);
    labCaption.Move(430, 75, 2415, 255);
    labCaption.SetTransparent(true);
    labCaption.SetFont("Sans", 8, true);
    Place(picMin, Picture4, 8640, 75, 225, 225);
    Place(picMax, Picture4, 9000, 75, 225, 225);
    Place(picClose, Picture4, 9360, 75, 225, 225);

    Place(Picture9, *this, 80, 300, 8295, 360);
    CreateMenuBar();
    Place(Picture3, *this, 9600, 300, 735, 360);
    Place(CoolBar1, *this, 80, 660, 9255, 525);
    CreateToolbar();
    Place(picTabLeft, *this, 9360, 660, 375, 525);
    picTabLeft.SetToolTipText("Scroll Tabs Left");
    Place(picTabRight, *this, 9720, 660, 375, 525);
    picTabRight.SetToolTipText("Scroll Tabs Right");
    Place(Picture2, *this, TabStripRestingLeft, 1180, 6390, 375);
    Place(Picture1, *this, 80, 1560, 3495, 1455);
    Picture1.SetBackColor(vbWindowBackground);

    Place(Picture10, *this, 0, 5880, 9495, 255);
    StatusBar1.PlaceIn(Picture10);
    StatusBar1.Move(120, 15, 495, 195);
    StatusBar1.SetTransparent(true);
    StatusBar1.SetCaption("Status:");
    Place(picProgress, Picture10, 8400, 30, 1380, 195);
    picProgress.SetVisible(false);

    Place(Picture5, *this, 10200, 6240, 285, 300);
    Place(Picture6, *this, 10320, 0, 70, 4935);
    Place(Picture7, *this, 0, 6360, 9855, 70);
    Place(Picture8, *this, 0, 0, 70, 5295);
    // The corners lie over the ends of the edges: each control placed later is in front.
    Place(Picture12, *this, 0, 0, 70, 70);
    Place(Picture13, *this, 6240, 0, 70, 70);
    Place(Picture14, *this, 0, 5520, 70, 70);
    Picture5.SetCursorName("se-resize");
    Picture6.SetCursorName("e-resize");
    Picture7.SetCursorName("s-resize");

    // The animation frames are hidden picture boxes that size themselves to their bitmap.
    PicStore.Create([](PictureBox& frame, int) {
        frame.SetVisible(false);
        frame.AutoSize = true;
    });
    // A loaded frame starts as a copy of frame 0, picture included: each gets its own after loading.
    PicStore(0).SetPicture(Picture(BuiltinSkin::Frame(0)));
    for (int i = 1; i < SkinTable::FrameCount; ++i) {
        PicStore.Load(i);
        PicStore(i).SetPicture(Picture(BuiltinSkin::Frame(i)));
    }

    Timer2.SetEnabled(false);
    Timer2.SetInterval(100);
    Timer2.Tick = [this] { Timer2_Timer(); };
    Timer3.SetInterval(2000);
    Timer3.Tick = [this] { Timer3_Timer(); };
    TimerMenus.SetEnabled(false);
    TimerMenus.SetInterval(10000);
    TimerMenus.Tick = [this] { TimerMenus_Timer(); };

    labDummy.PlaceIn(*this);
    labDummy.SetCaption("labDummy");
    labDummy.SetVisible(false);

    Combo1.Click = [this] { Combo1_Click(); };
    Combo1.KeyPress = [this](int KeyAscii) { Combo1_KeyPress(KeyAscii); };
    Combo1.KeyUp = [this](int KeyCode, int Shift) { Combo1_KeyUp(KeyCode, Shift); };

    for (ListBox* list : {&lstFilter, &lstCookies, &lstMenu, &lstLaunchNames, &lstLaunchRun, &lstTabList, &lstSorted,
                          static_cast<ListBox*>(&File1)})
        list->SetVisible(false);
    WireWindowControls();
}

void FrmMain::CreateToolbar() {
    static constexpr double Lefts[] = {120, 615, 1110, 1605, 2100, 2595, 3085, 3585};
    static constexpr const char* ToolTips[] = {"Back", "Forward", "Refresh", "Stop", "New Tab", "Remove Tab", "History", "Search"};
    picButton.Create([this](PictureBox& button, int index) {
        Place(button, CoolBar1, Lefts[index], 15, 495, 495);
        button.SetToolTipText(ToolTips[index]);
        button.Click = [this, index] { picButton_Click(index); };
        button.MouseDown = [this, index](int, int, double, double) { picButton_MouseDown(index); };
        button.MouseMove = [this, index](int Button, int, double, double) { picButton_MouseMove(index, Button); };
    });
    for (int i = 1; i <= 7; ++i) {
        picButton.Load(i);
        picButton(i).SetLeft(Lefts[i]);
        picButton(i).SetToolTipText(ToolTips[i]);
        picButton(i).SetVisible(true);
    }
    Combo1.PlaceIn(CoolBar1);
    Combo1.Move(4200, 100, 4785, 315);
}

void FrmMain::WireWindowControls() {
    for (Control* bar : {static_cast<Control*>(&Picture4), static_cast<Control*>(&labCaption)}) {
        bar->MouseDown = [this](int, int, double X, double Y) { Picture4_MouseDown(X, Y); };
        bar->MouseMove = [this](int Button, int, double X, double Y) { Picture4_MouseMove(Button, X, Y); };
        bar->DblClick = [this] { Picture4_DblClick(); };
    }
    for (PictureBox* grip : {&Picture5, &Picture6, &Picture7}) {
        grip->MouseDown = [this](int, int, double X, double Y) { Picture4_MouseDown(X, Y); };
        grip->MouseUp = [this](int, int, double, double) { Picture5_MouseUp(); };
    }
    Picture5.MouseMove = [this](int Button, int, double X, double Y) { Picture5_MouseMove(Button, X, Y); };
    Picture6.MouseMove = [this](int Button, int, double X, double Y) { Picture6_MouseMove(Button, X, Y); };
    Picture7.MouseMove = [this](int Button, int, double X, double Y) { Picture7_MouseMove(Button, X, Y); };

    picMax.Click = [this] { picMax_Click(); };
    picMin.Click = [this] { picMin_Click(); };
    picClose.Click = [this] { picClose_Click(); };
    picMin.MouseDown = [this](int, int, double, double) { picMin.SetPicture(Skin["picMinButtonDown"].GetPicture()); };
    picMax.MouseDown = [this](int, int, double, double) { picMax.SetPicture(Skin["picMaxButtonDown"].GetPicture()); };
    picClose.MouseDown = [this](int, int, double, double) { picClose.SetPicture(Skin["picCloseButtonDown"].GetPicture()); };
    picMin.MouseUp = [this](int, int, double, double) { picMin.SetPicture(Skin["picMinButton"].GetPicture()); };
    picMax.MouseUp = [this](int, int, double, double) { picMax.SetPicture(Skin["picMaxButton"].GetPicture()); };
    picClose.MouseUp = [this](int, int, double, double) { picClose.SetPicture(Skin["picCloseButton"].GetPicture()); };

    picTabLeft.Click = [this] { picTabLeft_Click(); };
    picTabLeft.MouseMove = [this](int, int, double, double) { picTabLeft_MouseMove(); };
    picTabRight.Click = [this] { picTabRight_Click(); };
    picTabRight.MouseMove = [this](int, int, double, double) { picTabRight_MouseMove(); };
    Picture2.MouseMove = [this](int, int, double, double) { Picture2_MouseMove(); };
}

void FrmMain::WireBrowserEvents(WebBrowser& browser, int index) {
    auto& events = browser.View().events;
    events.DownloadBegin = [this, index] { WebBrowser1_DownloadBegin(index); };
    events.StatusTextChange = [this, index](const std::string& Text) { WebBrowser1_StatusTextChange(index, Text); };
    events.ProgressChange = [this, index](long Progress, long ProgressMax) {
        WebBrowser1_ProgressChange(index, Progress, ProgressMax);
    };
    events.TitleChange = [this, index](const std::string&) { WebBrowser1_TitleChange(index); };
    events.DocumentComplete = [this, index](const std::string&) { WebBrowser1_DocumentComplete(index); };
    events.NewWindow2 = [this, index](BrowserView*& ppDisp, bool& Cancel) { WebBrowser1_NewWindow2(index, ppDisp, Cancel); };
    events.OnQuit = [this, index] { WebBrowser1_OnQuit(index); };
}

void FrmMain::CreateTabs() {
    WebBrowser1.Create([this](WebBrowser& browser, int index) {
        browser.PlaceIn(Picture1);
        browser.Move(0, 0, Picture1.Width(), Picture1.Height());
        WireBrowserEvents(browser, index);
    });
    picTab.Create([this](PictureBox& face, int index) {
        Place(face, Picture2, 0, 60, 2250, 315);
        face.AcceptTextDrops();
        face.Click = [this, index] { picTab_Click(index); };
        face.MouseMove = [this, index](int, int, double, double) { picTab_MouseMove(index); };
        face.OLEDragDrop = [this, index](const std::string& Data) { picTab_OLEDragDrop(index, Data); };
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

    MenuHighlightColour = vbButtonText;
    MenuTextColour = vbButtonText;
    MenuHighlightTextColour = vbWindowBackground;
    TabTextColour = vbWindowBackground;
    TabTextDisabledColour = vbButtonText;
    StatusTextColour = vbBlack;
    ProgressBarColour = vbButtonText;

    Timer2.SetInterval(200);
    labCaption.SetForeColor(vbBlack);

    frmSplash->Label1.SetCaption("Loading preferences...");
    frmSplash->Label1.Refresh();
    LoadIni();

    frmSplash->Label1.SetCaption("Analysing cookie cache...");
    frmSplash->Label1.Refresh();
    BaselineTaken = GetCookies();

    frmSplash->Label1.SetCaption("Setting up initial tabs...");
    frmSplash->Label1.Refresh();
    StatusBar1.SetForeColor(StatusTextColour);
    picProgress.SetBackColor(ProgressBarColour);
    BusyFrame = 0;
    Picture3.SetPicture(PicStore(SkinTable::IdleFrame).GetPicture());
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

void FrmMain::Form_Unload(int& Cancel) {
    SkipFailures([] { Closing = 1; },
                 [] { frmMenu.Unload(); },
                 [] { frmFavMenu.Unload(); },
                 [] { frmCookies.Unload(); },  // it would keep taking the focus from the closing-down windows
                 [this] { Hide(); },
                 [] { DoEvents(); },
                 [this] { RemoveAllTabs(); });
    if (Settings.CookieTrapMode != 0) {
        // The closing-down window ends the program itself; should it return, the window stays loaded and hidden.
        Try([] { frmCleanup->Show(vbModal); });
        Cancel = 1;
        return;
    }
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
