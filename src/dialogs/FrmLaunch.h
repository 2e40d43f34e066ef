#pragma once

#include "platform/button.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/label.h"
#include "platform/listbox.h"

// The launch menu editor: lists the entries of launch.dat, adds and removes them,
// and writes the file when it is closed. An entry is item k of both lists.
class FrmLaunch : public platform::Form {
public:
    FrmLaunch();

    // Writes both lists to launch.dat, a name line then a command line per entry.
    // Raises a ToolkitError when the file cannot be written; the old file stays whole.
    void SaveLaunchData();

    platform::Frame Frame1;
    platform::ListBox lstNameList;
    platform::ListBox lstPathList;  // hidden: the command lines
    platform::Label Label1;
    platform::CommandButton Command1;  // Add
    platform::CommandButton Command2;  // Remove
    platform::CommandButton Command3;  // Close

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

private:
    // Writes launch.dat; false, after telling the user, when it cannot be written.
    bool Saved();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
};
