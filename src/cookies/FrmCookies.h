#pragma once

#include <string>
#include <vector>

#include "platform/button.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/label.h"
#include "platform/listbox.h"

// The cookie manager: lists every cookie of the URL cache while the browser runs
// and removes a selection or all of them, each after a question. Its scans leave
// the baseline of start-up in place for the closing-down check.
class FrmCookies : public platform::Form {
public:
    FrmCookies();

    // Lists a fresh scan, sorted; the baseline in frmMain.lstCookies is put back.
    void RefreshTheList();

    platform::Frame Frame1;
    platform::Label Label1;
    platform::ListBox lstAllCookies{true, true};
    platform::CommandButton Command1;
    platform::CommandButton Command2;
    platform::CommandButton Command3;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Deactivate() override;
};
