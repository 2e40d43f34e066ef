#include <cmath>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/SkinTable.h"
#include "common/CenterPart2.h"
#include "common/ScreenSize.h"
#include "common/TileBitmapModule.h"
#include "app/State.h"
#include "platform/error.h"
#include "platform/screen.h"
#include "platform/twips.h"

using namespace platform;

void FrmMain::Form_Resize() {
    using TileBitmapModule::TileBitmap;
    if (WindowState() == vbMaximized) {
        SetWindowState(vbNormal);
        MaxiWindow();
        return;
    }
    if (WindowState() == vbMinimized) {
        SetVisible(false);
        Resizing = 0;
        return;
    }
    SetVisible(true);
    if (Width() < 5625) SetWidth(5625);
    if (Height() < 3000) SetHeight(3000);
    const double W = Width(), H = Height();

    Picture5.Cls();
    Picture6.Cls();
    Picture7.Cls();
    Picture8.Cls();
    Picture5.SetLeft(W - Picture5.Width());
    Picture5.SetTop(H - Picture5.Height());
    Picture6.SetLeft(W - Picture6.Width());
    Picture6.SetHeight(H - Picture5.Height() - Picture6.Top());
    Picture7.SetTop(H - Picture7.Height());
    Picture7.SetWidth(W - Picture5.Width());
    Picture8.SetHeight(H - Picture7.Height() - Picture8.Top());
    if (Resizing == 1 && Settings.FastPaint == 1) return;

    Picture4.SetWidth(W);
    CoolBar1.SetWidth(W);
    Picture10.SetWidth(W);
    Picture9.SetWidth(W);
    picTabRight.SetLeft(W - 160 - picTabRight.Width());
    picTabLeft.SetLeft(W - 160 - picTabRight.Width() - picTabLeft.Width());
    const double A = picTabLeft.Left() - Combo1.Left() - picButton(0).Left() - Picture6.Width();
    Combo1.SetWidth(A < 100 ? 100 : A);
    Picture2.SetWidth(W - Picture2.Left());
    Picture1.SetTop(Picture2.Height() + CoolBar1.Height() + 650);
    Picture1.SetHeight(H - Picture1.Top() - 300);
    Picture1.SetWidth(W - Picture1.Left() - Picture6.Width());
    Picture13.SetLeft(W - Picture13.Width());
    Picture14.SetTop(H - Picture14.Height());
    WebBrowser1(CurrentTab).SetWidth(Picture1.Width());
    WebBrowser1(CurrentTab).SetHeight(Picture1.Height());
    picProgress.SetLeft(W - 1800);
    StatusBar1.SetWidth(picProgress.Left() - StatusBar1.Left() - 60);
    Picture10.SetTop(Picture1.Top() + Picture1.Height());
    Picture3.SetLeft(W - Picture3.Width() - Picture6.Width());
    picClose.SetLeft(W - (picClose.Width() + 70));
    picMax.SetLeft(picClose.Left() - (picMax.Width() + 30));
    picMin.SetLeft(picMax.Left() - picMin.Width());
    labCaption.SetWidth(picMin.Left() - labCaption.Left() - 200);

    TileBitmap(Picture6, Skin["picRight"]);
    TileBitmap(Picture7, Skin["picBottom"]);
    TileBitmap(Picture5, Skin["picBotRight"]);
    TileBitmap(Picture8, Skin["picLeft"]);
    TileBitmap(Picture4, Skin["picTitleBar"]);
    TileBitmap(Picture2, Skin["picBrowserTop"]);
    TileBitmap(Picture10, Skin["picStatusBar"]);
    TileBitmap(CoolBar1, Skin["picButtonBar"]);
    TileBitmap(Picture9, Skin["picMenuBar"]);
    TileBitmap(Picture12, Skin["picTopLeft"]);
    TileBitmap(Picture14, Skin["picBotLeft"]);
    TileBitmap(Picture13, Skin["picTopRight"]);
    UpdateTabs();
}

void FrmMain::ResizeForm() {
    Form_Resize();
    BusyFrame = 0;
    Picture3.SetPicture(PicStore(SkinTable::IdleFrame).GetPicture());
}

void FrmMain::MaxiWindow() {
    if (IsMaximised == 0) {
        SavedHeight = static_cast<std::int32_t>(std::lround(Height()));
        SavedWidth = static_cast<std::int32_t>(std::lround(Width()));
        SavedTop = static_cast<std::int32_t>(std::lround(Top()));
        SavedLeft = static_cast<std::int32_t>(std::lround(Left()));
        ScreenSize::GetMaxSize();
        SetWidth(ScreenSize::MaxWidth + 90);
        SetHeight(ScreenSize::MaxHeight + 90);
        CenterPart2::CenterForm(*this);
        FitFrameToWorkArea();
        IsMaximised = 1;
    } else {
        SetWidth(SavedWidth);
        SetHeight(SavedHeight);
        SetLeft(SavedLeft);
        SetTop(SavedTop);
        IsMaximised = 0;
    }
}

// A window manager may refuse to put the window partly off screen and place it
// further in. The window then ends at the work area's right and bottom edges
// instead of hanging its frame off them.
void FrmMain::FitFrameToWorkArea() {
    WaitForPlacement();
    const auto area = WorkArea();
    const double right = area.right * TwipsPerPixelX, bottom = area.bottom * TwipsPerPixelY;
    // Maximised, the window is 90 twips larger than the work area and starts 60 before it.
    const double plannedOverhang = 90 - 60;
    if (Left() + Width() > right + plannedOverhang) SetWidth(right - Left());
    if (Top() + Height() > bottom + plannedOverhang) SetHeight(bottom - Top());
}
