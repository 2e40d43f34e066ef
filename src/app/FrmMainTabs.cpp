#include <glib.h>

#include <string>
#include <utility>

#include "app/Forms.h"
#include "app/FrmDummy.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "common/TileBitmapModule.h"
#include "menus/MenuModule.h"
#include "platform/app.h"
#include "platform/error.h"
#include "platform/msgbox.h"

using namespace platform;

namespace {
// Characters, not bytes: captions are cut by a character budget.
long CharCount(const std::string& text) { return g_utf8_strlen(text.c_str(), static_cast<gssize>(text.size())); }

std::string LeftChars(const std::string& text, long count) {
    if (count < 0) throw ToolkitError(errors::InvalidProcedureCall, "Invalid procedure call or argument");
    const char* end = g_utf8_offset_to_pointer(text.c_str(), std::min(count, CharCount(text)));
    return std::string(text.c_str(), end);
}
// Tabs that the engine could not open are told in one message once the openings
// that failed in a row are over (a tab layout fails for many tabs at once), not
// once per tab.
class UnopenedTabs {
public:
    static void Add() {
        ++count_;
        if (pending_) g_source_remove(pending_);
        pending_ = g_timeout_add(QuietMs, [](gpointer) -> gboolean {
            pending_ = 0;
            Dispatch(Report);
            return G_SOURCE_REMOVE;
        }, nullptr);
    }

private:
    static constexpr unsigned QuietMs = 100;

    static void Report() {
        const int count = std::exchange(count_, 0);
        MsgBox(std::to_string(count) + (count == 1 ? " tab" : " tabs") + " could not be opened." + "\r\n\r\n" +
                   "The web engine cannot open another page now. Close some tabs or other programs, then try again.",
               vbExclamation);
    }

    static inline int count_ = 0;
    static inline guint pending_ = 0;
};
}  // namespace

void FrmMain::AddTab(const std::string& Address) {
    const int n = WebBrowser1.UBound() + 1;
    // The tab index is a 16-bit number: past the last one no half-made tab is left behind.
    if (n > 32767) throw ToolkitError(errors::SubscriptOutOfRange, "Subscript out of range");
    try {
        WebBrowser1.Load(n);
    } catch (const ToolkitError& error) {
        // The program goes on with the tabs it has.
        if (error.Number() != errors::CannotCreateObject) throw;
        UnopenedTabs::Add();
        return;
    }
    Timer1.Load(n);
    picTab.Load(n);
    picTab(n).SetTop(picTab(0).Top());
    picTab(n).SetLeft(picTab(n - 1).Left() + picTab(n - 1).Width());
    picTab(n).SetVisible(true);
    WebBrowser1(n).SetVisible(true);
    std::string lower = Address;
    for (auto& ch : lower) ch = static_cast<char>(g_ascii_tolower(ch));
    if (lower == "home")
        WebBrowser1(n).GoHome();
    else
        WebBrowser1(n).Navigate(Address);
    Timer1(n).SetEnabled(true);
    DoEvents();
    CurrentTab = static_cast<std::int16_t>(WebBrowser1.UBound());
    WebBrowser1(CurrentTab).SetWidth(Picture1.Width());
    WebBrowser1(CurrentTab).SetHeight(Picture1.Height());
    UpdateBrowsers();
}

void FrmMain::DelTab() {
    if (CurrentTab == 0) return;
    // At a hole there is nothing to close.
    if (!Try([this] { WebBrowser1.Unload(CurrentTab); })) return;
    // Once the browser is gone each step fails alone: no face or timer is left behind
    // without its browser, and the selection never stays on the closed tab.
    SkipFailures([this] { picTab.Unload(CurrentTab); },
                 [this] { Timer1.Unload(CurrentTab); },
                 [this] { CurrentTab = static_cast<std::int16_t>(WebBrowser1.UBound()); },
                 [] { MenuModule::ArrangeTabs(); },
                 [this] { UpdateBrowsers(); });
}

void FrmMain::UpdateBrowsers() {
    SkipFailures([this] { WebBrowser1(CurrentTab).SetWidth(Picture1.Width()); },
                 [this] { WebBrowser1(CurrentTab).SetHeight(Picture1.Height()); },
                 [this] { WebBrowser1(CurrentTab).ZOrder(0); },
                 [this] { UpdateTabs(); },
                 [this] { SetAddressText(); });
}

void FrmMain::UpdateTabs() {
    for (int i = 0; i <= WebBrowser1.UBound(); ++i) {
        std::string title;
        long MaxChars = 0;
        std::string caption;
        const bool current = i == CurrentTab;
        SkipFailures(
            [&] { title = WebBrowser1(i).LocationName(); },
            [&] { picTab(i).SetToolTipText(title + " (" + WebBrowser1(i).LocationURL() + ")"); },
            [&] { picTab(i).SetForeColor(current ? TabTextColour : TabTextDisabledColour); },
            [&] { picTab(i).SetPicture(Skin[current ? "picTabSelected" : "picTabNotSelected"].GetPicture()); },
            [&] { picTab(i).CurrentY() = current ? 30 : 90; },
            [&] { MaxChars = static_cast<long>((picTab(i).Width() - 180) / picTab(i).TextWidth("0")); },
            [&] { caption = CharCount(title) <= MaxChars ? title : LeftChars(title, MaxChars - 3) + "..."; },
            [&] { picTab(i).CurrentX() = picTab(i).Width() / 2 - picTab(i).TextWidth(caption) / 2; },
            [&] { picTab(i).Print(caption); });
        if (!current) continue;
        SkipFailures([&] { frmDummy->SetCaption(title); }, [&] { labCaption.SetCaption(title); });
    }
}

void FrmMain::Timer3_Timer() { UpdateTabs(); }

void FrmMain::picTabLeft_Click() {
    if (Picture2.Left() == TabStripRestingLeft) return;
    Picture2.SetLeft(Picture2.Left() + picTab(0).Width());
    Picture2.SetWidth(std::abs(Picture2.Left()) + Width());
    TileBitmapModule::TileBitmap(Picture2, Skin["picBrowserTop"]);
}

float FrmMain::TabStripEnd() {
    const int u = picTab.UBound();
    return static_cast<float>(Picture2.Left() + picTab(u).Left() + picTab(0).Width());
}

void FrmMain::picTabRight_Click() {
    if (TabStripEnd() < Width()) return;
    Picture2.SetLeft(Picture2.Left() - picTab(0).Width());
    Picture2.SetWidth(std::abs(Picture2.Left()) + Width());
    TileBitmapModule::TileBitmap(Picture2, Skin["picBrowserTop"]);
}

void FrmMain::picTabLeft_MouseMove() { ResetButtons(Picture2.Left() == TabStripRestingLeft ? -1 : -2); }

void FrmMain::picTabRight_MouseMove() { ResetButtons(TabStripEnd() < Width() ? -1 : -3); }

void FrmMain::picTab_Click(int Index) {
    ResetMenus(labDummy);
    CurrentTab = static_cast<std::int16_t>(Index);
    UpdateBrowsers();
    // The page of the tab takes the keyboard, so that the arrow keys scroll it at once.
    Try([this] { WebBrowser1(CurrentTab).SetFocus(); });
}

void FrmMain::picTab_MouseMove(int /*Index*/) { ResetButtons(-1); }

void FrmMain::Picture2_MouseMove() {
    ResetMenus(labDummy);
    ResetButtons(-1);
}

void FrmMain::picTab_OLEDragDrop(int Index, const std::string& Data) { WebBrowser1(Index).Navigate(Data); }

void FrmMain::WebBrowser1_OnQuit(int Index) {
    // Tab 0 belongs to the window and stays. Any other tab whose page closed its
    // window is closed whole, so that no browser is left without its face and timer.
    if (Index == 0) return;
    const int previous = CurrentTab;
    CurrentTab = static_cast<std::int16_t>(Index);
    DelTab();
    if (previous != Index && WebBrowser1.Exists(previous)) {
        CurrentTab = static_cast<std::int16_t>(previous);
        UpdateBrowsers();
    }
}
