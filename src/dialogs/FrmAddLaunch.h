#pragma once

#include "platform/button.h"
#include "platform/common_dialog.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/label.h"
#include "platform/textbox.h"

// Adds one entry to the launch menu editor's lists: a name and a command line,
// typed or chosen with the file dialog.
class FrmAddLaunch : public platform::Form {
public:
    FrmAddLaunch();

    platform::Frame Frame1;
    platform::Label Label1;
    platform::TextBox Text1;  // the name
    platform::Label Label2;
    platform::TextBox Text2;  // the command line
    platform::CommandButton Command3;  // Browse...
    platform::CommandButton Command1;  // Ok
    platform::CommandButton Command2;  // Cancel
    platform::CommonDialog CommonDialog1;

private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
};
