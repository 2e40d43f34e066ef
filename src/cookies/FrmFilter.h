#pragma once

#include "platform/button.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/label.h"
#include "platform/listbox.h"
#include "platform/textbox.h"

// The word-filter editor: edits the words of filter.dat, which the filter mode of
// the cookie trap removes cookies by. The file is rewritten after every change;
// the program's own list (frmMain.lstFilter) takes the words on Close.
class FrmFilter : public platform::Form {
public:
    FrmFilter();

    // Writes the editor's words to filter.dat, one a line, in list order. When the
    // file cannot be written the words stay in the editor, and the user is told once.
    void SaveList();

    platform::Frame Frame1;
    platform::Label Label1;
    platform::ListBox lstFilter{false, true};
    platform::Label Label2;
    platform::TextBox Text1;
    platform::CommandButton Command2;
    platform::CommandButton Command1;
    platform::CommandButton Command3;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
};

// Forgets that a failed save was told, as the program starts, for tests that go on in
// the same process.
void ResetFilterState();
