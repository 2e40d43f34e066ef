#include "cookies/FrmCookies.h"

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "common/FormFont.h"
#include "cookies/CookieForms.h"
#include "cookies/CookieLists.h"
#include "platform/busy_pointer.h"
#include "platform/focus_keeper.h"
#include "platform/msgbox.h"
#include "platform/screen.h"

using namespace platform;

namespace {
// The layout rule counts in the window's outer size: the client area plus the
// border and title bar of the sizable window it was drawn for.
constexpr double BorderWidth = 120;
constexpr double BorderHeight = 420;
constexpr double MinimumWidth = 5175;
constexpr double MinimumHeight = 3510;

bool Confirmed(const std::string& question) {
    return MsgBox(question, vbYesNo | vbQuestion, "Delete Cookies?") == vbYes;
}
}  // namespace

FrmCookies::FrmCookies() : Form(FormStyle{.showInTaskbar = false, .controlBox = false}) {
    SetCaption("Cookie Manager");
    SetWidth(5055);
    SetHeight(3930);
    CentreOnScreen(*this);

    Frame1.PlaceIn(*this);
    Frame1.Move(120, 120, 4815, 3255);
    Frame1.SetCaption("Cookies");
    Label1.PlaceIn(Frame1);
    Label1.Move(240, 360, 4455, 255);
    Label1.SetCaption("The following is a list of all the cookies held on your computer.");
    lstAllCookies.PlaceIn(Frame1);
    lstAllCookies.Move(240, 720, 4335, 1980);
    Command1.PlaceIn(Frame1);
    Command1.Move(1560, 2760, 1455, 375);
    Command1.SetCaption("Remove Selected");
    Command2.PlaceIn(Frame1);
    Command2.Move(3120, 2760, 1455, 375);
    Command2.SetCaption("Remove All");
    Command3.PlaceIn(*this);
    Command3.Move(3720, 3480, 1215, 375);
    Command3.SetCaption("Close");
    Command3.SetDefault(true);

    SetFormFont(8, false, Frame1, Label1, lstAllCookies, Command1, Command2, Command3);

    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
}

// The view menu hands the focus back to the main window right after showing the
// manager, which may never have had it (a window mapped without a window manager
// is not focused): it comes to the front all the same.
void FrmCookies::Form_Load() {
    RefreshTheList();
    TakeFocusBackFromProgramWindows(Window());
}

void FrmCookies::RefreshTheList() {
    BusyPointer busy(*this);
    lstAllCookies.Clear();
    const std::vector<std::string> baseline = frmMain->lstCookies.Items();
    frmMain->lstCookies.Clear();
    frmMain->GetCookies();
    CookieLists::Fill(lstAllCookies, frmMain->lstCookies.Items());
    CookieLists::Fill(frmMain->lstCookies, baseline);
}

// Remove Selected.
void FrmCookies::Command1_Click() {
    if (!Confirmed("Are you sure you want to remove the selected cookies?")) return;
    CookieLists::DeleteCookies(CookieLists::Selected(lstAllCookies));
    RefreshTheList();
}

// Remove All.
void FrmCookies::Command2_Click() {
    if (!Confirmed("Are you sure you want to remove ALL of your cookies?")) return;
    CookieLists::DeleteCookies(lstAllCookies.Items());
    RefreshTheList();
}

void FrmCookies::Command3_Click() { frmCookies.Unload(); }

// The controls keep their distance from the right and bottom edges; the window
// snaps back to its minimum size.
void FrmCookies::Form_Resize() {
    double W = Width() + BorderWidth;
    double H = Height() + BorderHeight;
    if (W < MinimumWidth) {
        W = MinimumWidth;
        SetWidth(W - BorderWidth);
    }
    if (H < MinimumHeight) {
        H = MinimumHeight;
        SetHeight(H - BorderHeight);
    }
    Frame1.SetWidth(W - 360);
    Frame1.SetHeight(H - 1095);
    lstAllCookies.SetWidth(W - 840);
    lstAllCookies.SetHeight(H - 2370);
    Command1.SetLeft(W - 3615);
    Command2.SetLeft(W - 2055);
    Command1.SetTop(H - 1590);
    Command2.SetTop(Command1.Top());
    Command3.SetTop(H - 870);
    Command3.SetLeft(W - 1455);
}

// Stays in front of the program's other windows until it is closed.
void FrmCookies::Form_Deactivate() { TakeFocusBackFromProgramWindows(Window()); }
