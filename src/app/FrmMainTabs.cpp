#include "app/Forms.h"
#include "app/State.h"
#include "platform/error.h"

using namespace platform;

void FrmMain::UpdateBrowsers() {
    SkipFailures([this] { WebBrowser1(CurrentTab).SetWidth(Picture1.Width()); },
                 [this] { WebBrowser1(CurrentTab).SetHeight(Picture1.Height()); },
                 [this] { WebBrowser1(CurrentTab).ZOrder(0); },
                 [this] { UpdateTabs(); },
                 [this] { SetAddressText(); });
}

void FrmMain::UpdateTabs() {
    for (int i = 0; i <= WebBrowser1.UBound(); ++i) {
        if (i != CurrentTab) continue;
        std::string title;
        SkipFailures([&] { title = WebBrowser1(i).LocationName(); },
                     [&] { frmDummy->SetCaption(title); },
                     [&] { labCaption.SetCaption(title); });
    }
}

void FrmMain::Timer3_Timer() { UpdateTabs(); }

void FrmMain::Timer1_Timer(int Index) {
    if (!WebBrowser1(Index).Busy()) {
        Timer2.SetEnabled(false);
        Timer1(Index).SetEnabled(false);
        Picture3.SetPicture(PicStore(8).GetPicture());
    } else {
        Timer2.SetEnabled(true);
    }
}

void FrmMain::Timer2_Timer() {
    if (BusyFrame == 8) BusyFrame = 0;
    Picture3.SetPicture(PicStore(BusyFrame).GetPicture());
    ++BusyFrame;
}

void FrmMain::WebBrowser1_DownloadBegin(int Index) {
    Picture3.SetPicture(PicStore(0).GetPicture());
    Timer1(Index).SetEnabled(true);
}

void FrmMain::WebBrowser1_TitleChange(int /*Index*/) {
    SetAddressText();
    UpdateTabs();
}

void FrmMain::WebBrowser1_DocumentComplete(int /*Index*/) {
    SetAddressText();
    UpdateTabs();
}
