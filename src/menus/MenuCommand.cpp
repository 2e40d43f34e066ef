#include <functional>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "app/TabLayout.h"
#include "common/Conversions.h"
#include "cookies/CookieForms.h"
#include "cookies/FrmCookies.h"
#include "dialogs/Dialogs.h"
#include "dialogs/FrmAbout.h"
#include "dialogs/FrmLaunch.h"
#include "dialogs/FrmOptions.h"
#include "menus/MenuModule.h"
#include "menus/MenuState.h"
#include "platform/error.h"
#include "platform/internet_options.h"
#include "platform/msgbox.h"
#include "platform/shell.h"

using namespace platform;

namespace MenuModule {

namespace {
WebBrowser& CurrentBrowser() { return frmMain->WebBrowser1(CurrentTab); }

// Gives the focus to the current browser and sends it keystrokes of its own shortcuts.
void SendKeysToBrowser(const std::string& keys) {
    frmMain->SetFocus();
    CurrentBrowser().SetFocus();
    CurrentBrowser().View().SendKeys(keys);
}

// Asks for a file on the shared dialog and runs the action with the name chosen.
// Cancelling, or any failure up to the end of the action, ends it without a word.
void WithChosenFile(bool save, const char* title, const char* filter, const std::function<void(std::string)>& action) {
    Try([&] {
        auto& dialog = frmMain->CommonDialog1;
        dialog.DialogTitle = title;
        dialog.CancelError = true;
        dialog.Filter = filter;
        if (save)
            dialog.ShowSave();
        else
            dialog.ShowOpen();
        if (dialog.FileName.empty()) return;
        action(dialog.FileName);
    });
}

// A tab item of the tabs menu: "n. title" selects the n-th live tab.
void SelectTab(const std::string& Item) {
    auto& form = frmMain.Get();
    form.lstMenu.Clear();
    for (int i = 0; i <= form.WebBrowser1.UBound(); ++i) {
        Try([&] {
            form.WebBrowser1(i).LocationName();
            form.lstMenu.AddItem(Conversions::Str(i));
        });
    }
    const auto stop = Item.find('.');
    const double n = stop == std::string::npos ? 0 : Conversions::Val(Item.substr(0, stop + 1));
    // A number past the live tabs finds no tab (the list has changed since the menu opened).
    if (n > 0 && n <= form.lstMenu.ListCount()) {
        CurrentTab = static_cast<std::int16_t>(Conversions::Val(form.lstMenu.List(static_cast<int>(n) - 1)));
        form.UpdateBrowsers();
    }
}

// Launch entry k is row k + 2, below "Customise" and a separator.
void StartLaunchEntry() {
    const std::string command = frmMain->lstLaunchRun.List(MenuItemIndex - 2);
    try {
        Shell(command, vbNormalFocus);
    } catch (const ToolkitError& error) {
        MsgBox("The program \"" + command + "\" could not be started.\n\n" + error.Description(), vbExclamation,
               "Launch");
    }
}

void OpenLocalPage() {
    WithChosenFile(false, "Open Local Web Page", "Web Pages (*.htm;*.html)|*.htm;*.html|All files (*.*)|*.*",
                   [](const std::string& name) { CurrentBrowser().Navigate(name); });
}

void RestoreTabLayout() {
    WithChosenFile(false, "Open Tab Layout", "Tab Layouts (*.tab)|*.tab|All files (*.*)|*.*",
                   [](const std::string& name) { TabLayout::OpenTabLayout(name); });
}

void SaveTabLayout() {
    WithChosenFile(true, "Save Tab Layout", "Tab Layouts (*.tab)|*.tab",
                   [](const std::string& name) { TabLayout::SaveTabLayout(name); });
}

void Close() {
    frmMain->SaveCompleteWhileClosing();
    frmDummy.Unload();
}

// The fixed commands in the order they are tested: the first match wins, so a
// launch entry or a page title with one of these captions runs the command.
struct FixedCommand {
    const char* item;
    void (*action)();
};
constexpr FixedCommand FixedCommands[] = {
    {"new tab", [] { frmMain->AddTab(Settings.DefaultPage); }},
    {"new window", [] { SendKeysToBrowser("^n"); }},
    {"open...", OpenLocalPage},
    {"restore tab layout...", RestoreTabLayout},
    {"save tab layout...", SaveTabLayout},
    {"save as...", [] { CurrentBrowser().ExecWB(BrowserView::SaveAs, 0); }},
    {"remove tab", [] { frmMain->ClickBar("Del Tab"); }},
    {"page setup...", [] {}},  // the page setup lives in the print dialog
    {"print...", [] { SendKeysToBrowser("^p"); }},
    {"properties", [] { SendKeysToBrowser("+{F10}p"); }},
    {"work offline", [] { CurrentBrowser().SetOffline(true); }},
    {"work online", [] { CurrentBrowser().SetOffline(false); }},
    {"close", Close},
    {"cut", [] { CurrentBrowser().ExecWB(BrowserView::Cut, 2); }},
    {"copy", [] { CurrentBrowser().ExecWB(BrowserView::Copy, 2); }},
    {"paste", [] { CurrentBrowser().ExecWB(BrowserView::Paste, 2); }},
    {"select all", [] { CurrentBrowser().ExecWB(BrowserView::SelectAll, 2); }},
    {"find (on this page) ...", [] { SendKeysToBrowser("^f"); }},
    {"forward", [] { frmMain->ClickBar("Forward"); }},
    {"back", [] { frmMain->ClickBar("Back"); }},
    {"stop", [] { frmMain->ClickBar("Stop"); }},
    {"refresh", [] { frmMain->ClickBar("Refresh"); }},
    {"history", [] { frmMain->ClickBar("History"); }},
    {"search", [] { frmMain->ClickBar("Search"); }},
    {"source", [] { CurrentBrowser().Navigate("view-source:" + CurrentBrowser().LocationURL()); }},
    {"internet options...", ShowInternetOptions},
    {"browser options...", ShowOptions},
    {"cookies...", ShowCookies},
    {"about...", ShowAbout},
};

void RunCommand(const std::string& Item) {
    for (const auto& command : FixedCommands) {
        if (Item == command.item) {
            command.action();
            return;
        }
    }
    if (CurrentMenu == "tabs") {
        SelectTab(Item);
    } else if (CurrentMenu == "launch") {
        if (Item == "customise")
            ShowLaunchEditor();
        else
            StartLaunchEntry();
    }
}
}  // namespace

void MenuCommand(const std::string& Item) {
    // A command that fails ends silently, like the toolbar's.
    Try([&] { RunCommand(Item); });
}

// An editor already open only comes to the front.
void ShowLaunchEditor() {
    frmLaunch->Show();
    frmLaunch->SetFocus();
}

// The options dialog opens even when the address list could not be written first.
void ShowOptions() {
    frmMain->SaveCompleteOrTell();
    frmOptions->Show();
}

void ShowAbout() { frmAbout->Show(); }

void ShowCookies() {
    SkipFailures([] { frmCookies->Show(); });
    frmMain->SetFocus();
}

}  // namespace MenuModule
