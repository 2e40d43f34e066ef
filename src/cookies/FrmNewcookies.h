#pragma once

#include "platform/button.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/label.h"
#include "platform/listbox.h"
#include "platform/tabcontrol.h"

// The new-cookies window: the program's last window in the confirm mode of the
// cookie trap. One page lists the cookies added during the browser session, the
// other every cookie in the URL cache; either list can be removed whole or in part.
class FrmNewcookies : public platform::Form {
public:
    FrmNewcookies();

    // Rescans the cache: All Cookies shows what is left, New Cookies keeps only the
    // new cookies that still exist, and the baseline becomes every other cookie.
    void RefreshLists();

    platform::TabControl SSTab1{2};
    platform::Frame Frame1;
    platform::Label Label1;
    platform::ListBox lstNewCookies{false, true};
    platform::CommandButton Command3;
    platform::CommandButton Command2;
    platform::Frame Frame2;
    platform::Label Label2;
    platform::ListBox lstAllCookies{false, true};
    platform::CommandButton Command4;
    platform::CommandButton Command1;
    platform::CommandButton cmdClose;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void cmdClose_Click();

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
};
