#include "app/FrmDummy.h"

#include "app/AppIcon.h"
#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "platform/error.h"

using namespace platform;

FrmDummy::FrmDummy()
    : Form(FormStyle{.borderless = false, .showInTaskbar = true, .resizable = false, .taskbarCarrier = true}) {
    SetCaption("Quellin");
    SetIcon(AppIcon());
    SetWidth(1590);
    SetHeight(30);
    Timer1.SetInterval(500);
    Timer1.Tick = [this] { Timer1_Timer(); };
}

void FrmDummy::Form_Load() {
    SetTop(-9999999);
    SetLeft(-9999999);
}

void FrmDummy::Timer1_Timer() {
    if (WindowState() == vbMinimized) return;
    if (Top() != -999999) SetTop(-999999);
    if (Left() != -999999) SetLeft(-999999);
}

void FrmDummy::Form_Resize() {
    if (WindowState() != vbMinimized) {
        frmMain->SetWindowState(vbNormal);
        frmMain->SetVisible(true);
    } else {
        frmMain->SetWindowState(vbMinimized);
        frmMain->SetVisible(false);
    }
    if (WindowState() == vbMaximized) {
        frmMain->SetVisible(true);
        Resizing = 0;
        frmMain->MaxiWindow();
    }
}

void FrmDummy::Form_GotFocus() {
    Try([] { frmMain->SetFocus(); });
}

void FrmDummy::Form_Unload(int& /*Cancel*/) {
    frmMain->SaveCompleteWhileClosing();
    frmMain.Unload();
}
