#include "dialogs/FrmAbout.h"

#include <glib.h>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "common/FormFont.h"
#include "common/General.h"
#include "dialogs/Dialogs.h"
#include "platform/error.h"
#include "platform/focus_keeper.h"
#include "platform/glib_ptr.h"
#include "platform/key_store.h"
#include "platform/msgbox.h"
#include "platform/shell.h"

using namespace platform;

namespace {

const char* const SysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const SysInfoValue = "PATH";
const char* const SysInfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const char* const SysInfoLocationValue = "MSINFO";

// A link blue: &H00C00000 is RGB 0, 0, 192.
constexpr OleColor LinkColour = 0xC00000;

// A path as one word of a command line, whatever blanks or quotes it holds.
std::string Quoted(const std::string& path) {
    return TakeGString(g_shell_quote(path.c_str()));
}

}  // namespace

FrmAbout::FrmAbout()
    : Form(FormStyle{.borderless = false, .showInTaskbar = false, .resizable = false, .controlBox = false}) {
    SetCaption("About Quellin");
    SetWidth(5760);
    SetHeight(3930);

    const struct {
        Label& label;
        const char* caption;
        double top;
        double height;
        double fontSize;
        bool bold;
    } texts[] = {
        {lblTitle, "Quellin", 180, 480, 18, true},
        {lblVersion, "Version 0.6a (beta)", 690, 255, 8, false},
        {lblDescription, "Tabbed web browser for the Linux desktop.", 945, 255, 8, false},
        {Label2, "Quellin is free software: you may copy it and pass it on to others, free of charge.", 1320, 435, 8,
         false},
        {Label3,
         "NOTE: Although this software has been tested it may not be bug free.  Therefore, no responsibility can be "
         "taken for any loss or damage resulting from its use.",
         1845, 630, 8, false},
        {Label1, "Quellin is made by its developers for everyone who uses it.", 2580, 255, 8, false},
        {Label4, "http://quellin.example.org/", 2985, 255, 8, false},
        {Label5, "quellin@example.org", 3315, 255, 8, false},
    };
    for (const auto& text : texts) {
        text.label.PlaceIn(*this);
        text.label.Move(240, text.top, 5280, text.height);
        text.label.SetCaption(text.caption);
        text.label.SetTransparent(true);
        // The disclaimer keeps the toolkit's own font.
        if (&text.label != &Label3) SetFormFont(text.fontSize, text.bold, text.label);
    }
    for (Label* link : {&Label4, &Label5}) {
        link->SetWidth(2400);  // only the address itself answers the pointer
        link->SetForeColor(LinkColour);
        link->SetUnderline(true);
        link->SetCursorName("pointer");
    }
    Label4.Click = [this] { Label4_Click(); };
    Label5.Click = [this] { Label5_Click(); };

    cmdOK.PlaceIn(*this);
    cmdOK.Move(4185, 2940, 1335, 375);
    cmdOK.SetCaption("OK");
    cmdOK.SetDefault(true);
    cmdOK.SetCancel(true);
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdSysInfo.PlaceIn(*this);
    cmdSysInfo.Move(4185, 3390, 1335, 375);
    cmdSysInfo.SetCaption("&System Info...");
    cmdSysInfo.Click = [this] { cmdSysInfo_Click(); };
    CentreOnOwner(*this, frmMain.IfLoaded());
}

void FrmAbout::cmdOK_Click() { Unload(); }

void FrmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void FrmAbout::Label4_Click() {
    frmMain->AddTab(Label4.Caption());
    Unload();
}

void FrmAbout::Label5_Click() {
    frmMain->WebBrowser1(CurrentTab).Navigate("mailto:" + Label5.Caption());
    Unload();
}

// The about box stays in front of the program's other windows until it is closed.
void FrmAbout::Form_Deactivate() { TakeFocusBackFromProgramWindows(Window()); }

void FrmAbout::StartSysInfo() {
    try {
        std::string SysInfoPath;
        if (!GetKeyValue(HKEY_LOCAL_MACHINE, SysInfoKey, SysInfoValue, SysInfoPath)) {
            if (!GetKeyValue(HKEY_LOCAL_MACHINE, SysInfoLocationKey, SysInfoLocationValue, SysInfoPath) ||
                !General::FileExists(SysInfoPath + "/MSINFO32.EXE"))
                throw ToolkitError(errors::FileNotFound, "File not found");
            SysInfoPath += "/MSINFO32.EXE";
        }
        Shell(Quoted(SysInfoPath), vbNormalFocus);
    } catch (const ToolkitError&) {
        MsgBox("System Information Is Unavailable At This Time", vbOKOnly, "Quellin");
    }
}

bool FrmAbout::GetKeyValue(std::uint32_t KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                           std::string& KeyVal) {
    const auto value = ReadKeyValue(KeyRoot, KeyName, SubKeyRef);
    KeyVal = value.value_or("");
    return value.has_value();
}
