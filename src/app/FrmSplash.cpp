#include "app/FrmSplash.h"

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/SplashPicture.h"
#include "app/State.h"
#include "common/FormFont.h"
#include "platform/screen.h"

using namespace platform;

FrmSplash::FrmSplash() : Form(FormStyle{.borderless = true, .showInTaskbar = false, .resizable = false, .takesFocus = false}) {
    SetCaption("Quellin");
    SetWidth(6000);
    SetHeight(3750);
    CentreOnScreen(*this);

    Picture1.PlaceIn(*this);
    Picture1.Move(0, 0, 6000, 3750);
    Picture1.SetPicture(SplashPicture());

    for (Label* label : {&Label1, &Label2, &Label3}) {
        label->PlaceIn(Picture1);
        label->SetTransparent(true);
        label->SetForeColor(0xF5EDE6);
    }
    Label1.Move(450, 3240, 5100, 270);
    Label1.SetCaption("Initialising...");
    Label2.Move(4200, 1905, 1350, 270);
    SetFormFont(9, true, Label2);
    Label2.SetAlignment(Label::Align::Right);
    Label2.SetCaption("Ver 0.6a");
    Label3.Move(450, 2460, 5100, 270);
    Label3.SetCaption("Tabbed browsing for the Linux desktop");
}

void FrmSplash::Form_Load() {
    Starting = 1;
    Show();
    Refresh();
    frmMain->Show();
}

void FrmSplash::Form_Resize() {
    if (WindowState() == vbMaximized) StartMaximised.assign(1, '1');
    SetWindowState(vbNormal);
}
