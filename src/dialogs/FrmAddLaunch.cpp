#include "dialogs/FrmAddLaunch.h"

#include <glib.h>

#include <memory>

#include "dialogs/Dialogs.h"
#include "dialogs/FrmLaunch.h"
#include "platform/error.h"
#include "platform/glib_ptr.h"

using namespace platform;

namespace {

// The path as one word of a command line, which is split as a shell splits it: left
// as it is when it splits back to itself, else quoted (blanks, quotes, backslashes).
std::string CommandWord(const std::string& path) {
    char** words = nullptr;
    int count = 0;
    if (g_shell_parse_argv(path.c_str(), &count, &words, nullptr)) {
        const std::unique_ptr<char*, decltype(&g_strfreev)> owner(words, &g_strfreev);
        if (count == 1 && path == words[0]) return path;
    }
    return TakeGString(g_shell_quote(path.c_str()));
}

}  // namespace

FrmAddLaunch::FrmAddLaunch()
    : Form(FormStyle{.borderless = false, .showInTaskbar = false, .resizable = false, .controlBox = false}) {
    SetCaption("Browse for file...");
    SetWidth(5415);
    SetHeight(2295);

    Frame1.PlaceIn(*this);
    Frame1.Move(120, 120, 5175, 1560);
    Frame1.SetCaption("File details");
    const struct {
        Label& label;
        TextBox& text;
        const char* caption;
        double top;
    } rows[] = {{Label1, Text1, "Application Description:", 300}, {Label2, Text2, "Application Path:", 720}};
    for (const auto& row : rows) {
        row.label.PlaceIn(Frame1);
        row.label.Move(120, row.top + 30, 2040, 255);
        row.label.SetTransparent(true);
        row.label.SetCaption(row.caption);
        row.text.PlaceIn(Frame1);
        row.text.Move(2160, row.top, 2850, 300);
    }
    Command3.PlaceIn(Frame1);
    Command3.Move(3915, 1095, 1095, 345);
    Command3.SetCaption("Browse...");
    Command3.Click = [this] { Command3_Click(); };

    Command1.PlaceIn(*this);
    Command1.Move(3000, 1800, 1095, 375);
    Command1.SetCaption("Ok");
    Command1.SetDefault(true);
    Command1.Click = [this] { Command1_Click(); };
    Command2.PlaceIn(*this);
    Command2.Move(4200, 1800, 1095, 375);
    Command2.SetCaption("Cancel");
    Command2.SetCancel(true);
    Command2.Click = [this] { Command2_Click(); };

    CommonDialog1.CancelError = true;
    CentreOnOwner(*this, frmLaunch.IfLoaded());
}

void FrmAddLaunch::Command1_Click() {
    if (Text1.Text().empty() || Text2.Text().empty()) return;
    frmLaunch->lstNameList.AddItem(Text1.Text());
    frmLaunch->lstPathList.AddItem(Text2.Text());
    Unload();
}

void FrmAddLaunch::Command2_Click() { Unload(); }

// Programs carry no file extension here: the dialog's "Applications" filter lists
// the files that may be executed. The chosen path becomes the command line's program.
void FrmAddLaunch::Command3_Click() {
    CommonDialog1.DialogTitle = "Add to launch menu";
    CommonDialog1.Filter = "Applications (*.exe)|*.exe|All files (*.*)|*.*";
    try {
        CommonDialog1.ShowOpen();
    } catch (const ToolkitError&) {
        return;
    }
    if (!CommonDialog1.FileName.empty()) Text2.SetText(CommandWord(CommonDialog1.FileName));
}
