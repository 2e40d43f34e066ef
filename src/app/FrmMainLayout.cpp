#include <cmath>

#include "app/Forms.h"
#include "common/CenterPart2.h"
#include "common/ScreenSize.h"
#include "app/State.h"
#include "platform/error.h"

using namespace platform;

void FrmMain::Form_Resize() {
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
    const double W = Width(), H = Height();
    Picture4.SetWidth(W);
    CoolBar1.SetWidth(W);
    Picture10.SetWidth(W);
    Picture1.SetTop(Picture2.Height() + CoolBar1.Height() + 650);
    Picture1.SetHeight(H - Picture1.Top() - 300);
    Picture1.SetWidth(W - Picture1.Left() - 70);
    WebBrowser1(CurrentTab).SetWidth(Picture1.Width());
    WebBrowser1(CurrentTab).SetHeight(Picture1.Height());
    picProgress.SetLeft(W - 1800);
    StatusBar1.SetWidth(picProgress.Left() - StatusBar1.Left() - 60);
    Picture10.SetTop(Picture1.Top() + Picture1.Height());
    UpdateTabs();
}

void FrmMain::ResizeForm() {
    Form_Resize();
    BusyFrame = 0;
    Picture3.SetPicture(PicStore(8).GetPicture());
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
        IsMaximised = 1;
    } else {
        SetWidth(SavedWidth);
        SetHeight(SavedHeight);
        SetLeft(SavedLeft);
        SetTop(SavedTop);
        IsMaximised = 0;
    }
}
