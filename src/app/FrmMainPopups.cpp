#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/FrmPopup.h"
#include "app/State.h"
#include "platform/error.h"

using namespace platform;

namespace {

// What becomes of a window that a page asks to open; the values of PopupMode.
enum PopupAction { RefusePopup = 0, PlatformWindow = 1, PopupInNewTab = 2, AskAboutPopup = 3 };

// Asks the user with the pop-up question and waits for the answer. A page that
// asks again while the question is open waits for the same answer; each asker
// keeps the answer of its own question, whatever questions follow meanwhile.
PopupAction AskAboutThePopup(FrmMain& owner) {
    PopupChoice = 0;
    FrmPopup& question = frmPopup.Get();
    const auto answer = question.Answer();
    question.Window().set_transient_for(owner.Window());
    question.Show(vbModal);
    switch (*answer) {
        case 1: return PopupInNewTab;
        case 3: return RefusePopup;
        default: return PlatformWindow;
    }
}

// Opens a blank tab and hands its browser back for the pop-up to load in. The
// tab is the one opened here: an event that runs while the tab opens may open a
// tab of its own, which then becomes the current one.
void OpenInNewTab(FrmMain& main, BrowserView*& ppDisp) {
    const int newTab = main.WebBrowser1.UBound() + 1;
    main.AddTab("about:blank");
    ppDisp = main.WebBrowser1(newTab).Object();
    main.UpdateBrowsers();
}

}  // namespace

// A page in any tab asks for a new window. A failure on the way ends the handler:
// what was set by then stands, and otherwise the platform opens the window.
void FrmMain::WebBrowser1_NewWindow2(int /*Index*/, BrowserView*& ppDisp, bool& Cancel) {
    try {
        PopupAction action = Settings.PopupMode == RefusePopup || Settings.PopupMode == PopupInNewTab || Settings.PopupMode == AskAboutPopup
                                 ? static_cast<PopupAction>(Settings.PopupMode)
                                 : PlatformWindow;
        if (action == AskAboutPopup) {
            action = AskAboutThePopup(*this);
            // The main window closed while the question was open.
            if (frmMain.IfLoaded() != this) return;
        }
        switch (action) {
            case PopupInNewTab: OpenInNewTab(*this, ppDisp); break;
            case RefusePopup: Cancel = true; break;
            default: break;
        }
    } catch (const ToolkitError&) {
        // The handler ends here; ppDisp and Cancel keep what was set before the failure.
    }
}
