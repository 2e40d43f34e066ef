#include "cookies/FrmCleanup.h"

#include <algorithm>
#include <iostream>
#include <iterator>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "common/FormFont.h"
#include "cookies/CookieForms.h"
#include "cookies/CookieLists.h"
#include "cookies/CookieNames.h"
#include "cookies/FrmNewcookies.h"
#include "platform/app.h"
#include "platform/screen.h"
#include "platform/url_cache.h"
#include "platform/webkit/plain_browser_window.h"
#include "platform/webkit/webkit_view.h"

using namespace platform;

FrmCleanup::FrmCleanup() : Form(FormStyle{.resizable = false, .controlBox = false}) {
    SetCaption("Closing down...");
    // Wide enough for the window manager to show the whole caption in its title bar.
    SetWidth(std::max(2250.0, TitleBarWidth(Caption())));
    SetHeight(690);
    CentreOnScreen(*this);

    Label1.PlaceIn(*this);
    Label1.Move(120, 120, 2175, 255);
    SetFormFont(8, false, Label1);
    Label1.SetCaption("Quellin is closing down...");
    Label2.PlaceIn(*this);
    Label2.Move(120, 360, 1455, 255);
    SetFormFont(8, true, Label2);
    Label2.SetCaption("Please wait...");
}

// On screen before the modal show that loads it returns, then straight to the check.
void FrmCleanup::Form_Load() {
    Refresh();
    Show();
    Refresh();
    CheckCookies();
}

void FrmCleanup::CheckCookies() {
    // A page left running (in a browser window, or in a tab of the main window,
    // hidden or waiting for its deletion) would go on setting cookies that no scan sees.
    WebKitView::EndEveryPage();
    PlainBrowserWindow::CloseAll();
    // The filter mode goes by the words alone, old cookies and new: it needs no
    // comparison with the baseline, and RemoveFilters scans the cache itself.
    if (Settings.CookieTrapMode == 3) {
        RemoveFilters();
        End();
        return;
    }
    if (!frmMain->BaselineTaken) {
        // Every cookie would look new: removing them would take the user's logins.
        std::cerr << "Quellin: the cookie store could not be read at start-up, so no cookie is removed at exit.\n";
        End();
        return;
    }
    const std::vector<std::string> baseline = frmMain->lstCookies.Items();
    frmMain->GetCookies();
    newCookies_ = CookieNames::NotIn(frmMain->lstCookies.Items(), baseline);
    if (newCookies_.empty()) {
        End();
        return;
    }
    if (Settings.CookieTrapMode == 1) {
        RemoveAllCooks();
        End();
        return;
    }
    frmCleanup.Unload();
    // Its load lists the fresh scan on the All Cookies page.
    auto& confirm = frmNewcookies.Get();
    CookieLists::Fill(confirm.lstNewCookies, newCookies_);
    confirm.Show(vbModal);
}

void FrmCleanup::RemoveAllCooks() {
    CookieLists::DeleteCookies(newCookies_);
}

void FrmCleanup::RemoveFilters() {
    frmMain->GetCookies();
    const std::vector<std::string> names = frmMain->lstCookies.Items();
    const CookieNames::WordFilter filter(frmMain->lstFilter.Items());
    std::vector<std::string> matching;
    std::copy_if(names.begin(), names.end(), std::back_inserter(matching),
                 [&](const std::string& name) { return filter.Matches(name); });
    CookieLists::DeleteCookies(matching);
}
