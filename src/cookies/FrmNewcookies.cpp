#include "cookies/FrmNewcookies.h"

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "common/FormFont.h"
#include "cookies/CookieForms.h"
#include "cookies/CookieLists.h"
#include "cookies/CookieNames.h"
#include "platform/app.h"
#include "platform/busy_pointer.h"
#include "platform/screen.h"

using namespace platform;

namespace {
constexpr int NewCookiesPage = 0;
constexpr int AllCookiesPage = 1;

// One page: a frame with its text and list, and the page's two buttons below it.
void BuildPage(Container& page, Frame& frame, const char* caption, Label& label, const char* text, ListBox& list,
               CommandButton& removeSelected, CommandButton& removeAll) {
    frame.PlaceIn(page);
    frame.Move(120, 480, 4575, 2775);
    frame.SetCaption(caption);
    label.PlaceIn(frame);
    label.Move(240, 360, 4095, 495);
    label.SetCaption(text);
    label.SetTransparent(true);  // the page's own background shows through
    list.PlaceIn(frame);
    list.Move(240, 840, 4095, 1740);
    removeSelected.PlaceIn(page);
    removeSelected.Move(1680, 3360, 1455, 375);
    removeSelected.SetCaption("Remove Selected");
    removeAll.PlaceIn(page);
    removeAll.Move(3240, 3360, 1455, 375);
    removeAll.SetCaption("Remove All");
}
}  // namespace

FrmNewcookies::FrmNewcookies() : Form(FormStyle{.resizable = false, .controlBox = false}) {
    SetCaption("Cookie Manager");
    SetWidth(5055);
    SetHeight(4560);
    CentreOnScreen(*this);

    SSTab1.PlaceIn(*this);
    SSTab1.Move(120, 120, 4815, 3855);
    SSTab1.SetTabCaption(NewCookiesPage, "New Cookies");
    SSTab1.SetTabCaption(AllCookiesPage, "All Cookies");
    BuildPage(SSTab1.Page(NewCookiesPage), Frame1, "New Cookies", Label1,
              "The following cookies have been added to your system during this browser session:", lstNewCookies,
              Command3, Command2);
    BuildPage(SSTab1.Page(AllCookiesPage), Frame2, "All Cookies", Label2,
              "The following is a list of all the cookies held on your system:", lstAllCookies, Command4, Command1);
    Label2.SetWidth(3855);  // the All Cookies text is set narrower

    cmdClose.PlaceIn(*this);
    cmdClose.Move(3720, 4080, 1215, 375);
    cmdClose.SetCaption("Close");

    SetFormFont(8, false, SSTab1, Frame1, Frame2, Label1, Label2, lstNewCookies, lstAllCookies, Command1, Command2,
                Command3, Command4, cmdClose);

    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    cmdClose.Click = [this] { cmdClose_Click(); };
}

void FrmNewcookies::Form_Load() {
    for (const auto& name : frmMain->lstCookies.Items()) lstAllCookies.AddItem(name);
}

// While the program is closing this is its last window: however it is closed, the program ends.
void FrmNewcookies::Form_Unload(int& /*Cancel*/) {
    if (Closing == 1) End();
}

void FrmNewcookies::RefreshLists() {
    BusyPointer busy(*this);
    lstAllCookies.Clear();
    frmMain->GetCookies();
    CookieLists::Fill(lstAllCookies, frmMain->lstCookies.Items());
    CookieLists::Fill(frmMain->lstCookies, CookieNames::NotIn(lstAllCookies.Items(), lstNewCookies.Items()));
    CookieLists::Fill(lstNewCookies, CookieNames::FoundIn(lstNewCookies.Items(), lstAllCookies.Items()));
}

// Remove All on the New Cookies page.
void FrmNewcookies::Command2_Click() {
    CookieLists::DeleteCookies(lstNewCookies.Items());
    lstNewCookies.Clear();
    RefreshLists();
}

// Remove Selected on the New Cookies page.
void FrmNewcookies::Command3_Click() {
    const auto kept = CookieLists::Selected(lstNewCookies, false);
    CookieLists::DeleteCookies(CookieLists::Selected(lstNewCookies));
    CookieLists::Fill(lstNewCookies, kept);
    RefreshLists();
}

// Remove All on the All Cookies page.
void FrmNewcookies::Command1_Click() {
    CookieLists::DeleteCookies(lstAllCookies.Items());
    lstAllCookies.Clear();
    lstNewCookies.Clear();
    RefreshLists();
}

// Remove Selected on the All Cookies page.
void FrmNewcookies::Command4_Click() {
    CookieLists::DeleteCookies(CookieLists::Selected(lstAllCookies));
    RefreshLists();
}

void FrmNewcookies::cmdClose_Click() {
    if (Closing == 1) {
        End();
        return;
    }
    frmNewcookies.Unload();
}
