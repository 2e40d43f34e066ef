#include "dialogs/FrmLaunch.h"

#include "app/State.h"
#include "common/CenterPart2.h"
#include "common/General.h"
#include "dialogs/Dialogs.h"
#include "dialogs/FrmAddLaunch.h"
#include "platform/error.h"
#include "platform/msgbox.h"

using namespace platform;

FrmLaunch::FrmLaunch()
    : Form(FormStyle{.borderless = false, .showInTaskbar = true, .resizable = false, .controlBox = false}) {
    SetCaption("Customise Launch Menu");
    SetWidth(5055);
    SetHeight(3375);

    Frame1.PlaceIn(*this);
    Frame1.Move(120, 120, 3375, 3135);
    Frame1.SetCaption("Launch menu");
    lstNameList.PlaceIn(Frame1);
    lstNameList.Move(120, 300, 3135, 2700);
    lstPathList.PlaceIn(*this);
    lstPathList.SetVisible(false);

    Label1.PlaceIn(*this);
    Label1.Move(3615, 225, 1320, 1500);
    Label1.SetCaption("Use the add and remove buttons to customise the applications available on the Launch Menu.");
    const struct {
        CommandButton& button;
        const char* caption;
        double top;
    } buttons[] = {{Command1, "Add", 1920}, {Command2, "Remove", 2400}, {Command3, "Close", 2880}};
    for (const auto& b : buttons) {
        b.button.PlaceIn(*this);
        b.button.Move(3615, b.top, 1320, 375);
        b.button.SetCaption(b.caption);
    }
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    CenterPart2::CenterForm(*this);
}

// Reads launch.dat: a name line, then its command line. A missing file gives an
// empty list; a read failure keeps what was read. A lone name on the last line is
// kept with an empty command line, so that the two lists keep equal indexes.
void FrmLaunch::Form_Load() {
    try {
        General::LineReader file(DataFile("launch.dat"));
        while (!file.AtEnd()) {
            lstNameList.AddItem(file.ReadLine());
            lstPathList.AddItem(file.AtEnd() ? std::string() : file.ReadLine());
        }
    } catch (const ToolkitError&) {
        while (lstPathList.ListCount() < lstNameList.ListCount()) lstPathList.AddItem("");
    }
}

// Two lines an entry, whatever the texts hold: a line break in a name or a command
// line would put every later entry out of step.
void FrmLaunch::SaveLaunchData() {
    std::string text;
    for (int i = 0; i < lstNameList.ListCount(); ++i) {
        text += General::OnOneLine(lstNameList.List(i), " ") + "\r\n";
        text += General::OnOneLine(lstPathList.List(i), " ") + "\r\n";
    }
    General::WriteWholeFile(DataFile("launch.dat"), text);
}

void FrmLaunch::Command1_Click() { frmAddLaunch->Show(vbModal); }

void FrmLaunch::Command2_Click() {
    const int index = lstNameList.ListIndex();
    if (index == -1) return;
    lstNameList.RemoveItem(index);
    lstPathList.RemoveItem(index);
}

// The edits are never lost silently: when launch.dat cannot be written, the user
// is told and the editor stays open.
void FrmLaunch::Command3_Click() {
    if (Saved()) Unload();
}

// A window manager that gives the editor a close button anyway: closing there
// saves, as Close does.
void FrmLaunch::Form_QueryUnload(int& Cancel, int UnloadMode) {
    if (UnloadMode == vbFormControlMenu && !Saved()) Cancel = 1;
}

bool FrmLaunch::Saved() {
    try {
        SaveLaunchData();
        return true;
    } catch (const ToolkitError&) {
        MsgBox("The launch menu could not be saved.", vbOKOnly + vbExclamation, "Customise Launch Menu");
        return false;
    }
}
