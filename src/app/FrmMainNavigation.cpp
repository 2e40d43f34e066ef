#include <glib.h>

#include <algorithm>
#include <cmath>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/SkinTable.h"
#include "app/State.h"
#include "platform/error.h"

using namespace platform;

void FrmMain::SetAddressText() {
    std::string address = WebBrowser1(CurrentTab).LocationURL();
    for (auto at = address.find("%20"); at != std::string::npos; at = address.find("%20", at + 1))
        address.replace(at, 3, " ");
    if (address.size() >= 3 && g_ascii_strncasecmp(address.c_str(), "res", 3) == 0) {
        if (auto hash = address.find('#'); hash != std::string::npos) address = address.substr(hash + 1);
    }
    Combo1.SetText(address);
    picTab(CurrentTab).SetToolTipText(WebBrowser1(CurrentTab).LocationName() + " (" + address + ")");
}

namespace {
// Toolbar buttons: command caption, normal, hover and pressed pictures.
struct ToolbarButton {
    const char* caption;
    const char* normal;
    const char* hover;
    const char* pressed;
};
constexpr ToolbarButton Buttons[] = {
    {"Back", "picBackBut", "picBackHiBut", "picBackDown"},
    {"Forward", "picForwardBut", "picForwardHiBut", "picForwardDown"},
    {"Refresh", "picrefreshBut", "picRefreshHiBut", "picRefreshDown"},
    {"Stop", "picStopBut", "picStopHiBut", "picStopDown"},
    {"New Tab", "picNewTabBut", "picNewTabHiBut", "picNewTabDown"},
    {"Del Tab", "picDelTabBut", "picDelTabHiBut", "picDelTabDown"},
    {"History", "picHistoryBut", "picHistoryHiBut", "picHistoryDown"},
    {"Search", "picSearchBut", "picSearchHiBut", "picSearchDown"},
};
constexpr double FullProgressWidth = 1380;
}  // namespace

void FrmMain::picButton_MouseDown(int Index) { ButtonDown(Index); }

void FrmMain::picButton_MouseMove(int Index, int Button) {
    ResetMenus(labDummy);
    if (Button != 0)
        ButtonDown(Index);
    else
        ResetButtons(Index);
}

void FrmMain::picButton_Click(int Index) { ClickBar(Buttons[Index].caption); }

void FrmMain::ClickBar(const std::string& Caption) {
    // A command that fails ends silently; what it reached stays.
    Try([&] {
        if (Caption == "Back") {
            WebBrowser1(CurrentTab).GoBack();
        } else if (Caption == "Forward") {
            WebBrowser1(CurrentTab).GoForward();
        } else if (Caption == "Refresh") {
            WebBrowser1(CurrentTab).Refresh();
        } else if (Caption == "Stop") {
            WebBrowser1(CurrentTab).Stop();
        } else if (Caption == "New Tab") {
            if (Settings.NewTabMode == 0)
                AddTab(Settings.DefaultPage);
            else
                AddTab(WebBrowser1(CurrentTab).LocationURL());
        } else if (Caption == "Del Tab") {
            DelTab();
        } else if (Caption == "Search") {
            if (Settings.SearchInNewTab == 1)
                AddTab(Settings.SearchPage);
            else
                WebBrowser1(CurrentTab).Navigate(Settings.SearchPage);
        } else if (Caption == "History") {
            OpenHistory();
        }
    });
}

void FrmMain::ResetButtons(int Code) {
    for (int i = 0; i <= picButton.UBound(); ++i)
        picButton(i).SetPicture(Skin[i == Code ? Buttons[i].hover : Buttons[i].normal].GetPicture());
    picTabLeft.SetPicture(Skin[Code == -2 ? "TabLeftHi" : "TabLeft"].GetPicture());
    picTabRight.SetPicture(Skin[Code == -3 ? "TabRightHi" : "TabRight"].GetPicture());
    TimerMenus.SetEnabled(Code != -1);
}

void FrmMain::ButtonDown(int Index) {
    for (int i = 0; i <= picButton.UBound(); ++i)
        picButton(i).SetPicture(Skin[i == Index ? Buttons[i].pressed : Buttons[i].normal].GetPicture());
}

void FrmMain::Timer1_Timer(int Index) {
    try {
        if (!WebBrowser1(Index).Busy()) {
            Timer2.SetEnabled(false);
            Timer1(Index).SetEnabled(false);
            Picture3.SetPicture(PicStore(SkinTable::IdleFrame).GetPicture());
            UpDateHistory(Index);
        } else {
            Timer2.SetEnabled(true);
        }
    } catch (const ToolkitError&) {
        RemoveDeadTab(Index);
    }
}

void FrmMain::RemoveDeadTab(int Index) {
    if (Index == 0) {
        // Tab 0 is never removed: it shows the page it showed again, in a new browser.
        // When the engine can open none now, the tab stays as it is until the user
        // asks for a page.
        WebBrowser1(0).Refresh();
        if (!WebBrowser1(0).View().Answering()) Timer1(0).SetEnabled(false);
        return;
    }
    SkipFailures([&] { picTab.Unload(Index); }, [&] { Timer1.Unload(Index); }, [&] { WebBrowser1.Unload(Index); });
    if (Index == CurrentTab) CurrentTab = static_cast<std::int16_t>(WebBrowser1.UBound());
    // No poll of the removed tab will ever find it idle: the animation stops as if it
    // had, and a tab still loading takes it up again at its next poll.
    Timer2.SetEnabled(false);
    Picture3.SetPicture(PicStore(SkinTable::IdleFrame).GetPicture());
}

void FrmMain::Timer2_Timer() {
    if (BusyFrame == SkinTable::IdleFrame) BusyFrame = 0;
    Picture3.SetPicture(PicStore(BusyFrame).GetPicture());
    ++BusyFrame;
}

void FrmMain::WebBrowser1_DownloadBegin(int Index) {
    Picture3.SetPicture(PicStore(0).GetPicture());
    Timer1(Index).SetEnabled(true);
}

void FrmMain::WebBrowser1_StatusTextChange(int Index, const std::string& Text) {
    if (Index != CurrentTab) return;
    std::string shown = Text;
    const double width = TextWidth(Text);
    if (width > StatusBar1.Width()) {
        const long n = std::lrint(StatusBar1.Width() / TextWidth("W"));
        const char* end = g_utf8_offset_to_pointer(Text.c_str(), std::min<long>(n, g_utf8_strlen(Text.c_str(), -1)));
        shown = std::string(Text.c_str(), end) + "...";
    }
    StatusBar1.SetCaption(shown);
}

void FrmMain::WebBrowser1_ProgressChange(int Index, long Progress, long ProgressMax) {
    if (WebBrowser1(CurrentTab).Width() != Picture1.Width() || WebBrowser1(CurrentTab).Height() != Picture1.Height()) {
        WebBrowser1(CurrentTab).SetWidth(Picture1.Width());
        WebBrowser1(CurrentTab).SetHeight(Picture1.Height());
    }
    if (picProgress.Width() > FullProgressWidth) picProgress.SetWidth(FullProgressWidth);
    if (Index != CurrentTab) return;
    if (Progress == 0) {
        picProgress.SetVisible(false);
        return;
    }
    // A maximum of 0 or a negative progress gives no bar at all.
    const double width = FullProgressWidth / ProgressMax * Progress;
    if (ProgressMax == 0 || !(width >= 0)) {
        picProgress.SetVisible(false);
        return;
    }
    picProgress.SetVisible(true);
    picProgress.SetWidth(std::min(static_cast<double>(static_cast<float>(width)), FullProgressWidth));
    picProgress.Refresh();
}

void FrmMain::WebBrowser1_TitleChange(int /*Index*/) {
    SetAddressText();
    UpdateTabs();
}

void FrmMain::WebBrowser1_DocumentComplete(int /*Index*/) {
    SetAddressText();
    UpdateTabs();
}
