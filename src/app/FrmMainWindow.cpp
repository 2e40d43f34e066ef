#include <cmath>

#include "app/Forms.h"
#include "app/FrmDummy.h"
#include "app/FrmMain.h"
#include "app/State.h"

using namespace platform;

// Moving: the title bar and the title text.

void FrmMain::Picture4_MouseDown(double X, double Y) {
    DragAnchorX = static_cast<std::int32_t>(std::lround(X));
    DragAnchorY = static_cast<std::int32_t>(std::lround(Y));
}

void FrmMain::Picture4_MouseMove(int Button, double X, double Y) {
    if (IsMaximised == 1) return;
    if (Button == 0) return;
    SetLeft(Left() - (DragAnchorX - X));
    SetTop(Top() - (DragAnchorY - Y));
}

void FrmMain::Picture4_DblClick() {
    Resizing = 0;
    MaxiWindow();
}

// Resizing: the corner grip changes both, the right edge the width, the bottom edge the height.

void FrmMain::Picture5_MouseMove(int Button, double X, double Y) { ResizeWithGrip(true, true, Button, X, Y); }
void FrmMain::Picture6_MouseMove(int Button, double X, double Y) { ResizeWithGrip(true, false, Button, X, Y); }
void FrmMain::Picture7_MouseMove(int Button, double X, double Y) { ResizeWithGrip(false, true, Button, X, Y); }

void FrmMain::ResizeWithGrip(bool ChangesWidth, bool ChangesHeight, int Button, double X, double Y) {
    if (IsMaximised == 1) return;
    if (Button == 0) {
        Resizing = 0;
        return;
    }
    Resizing = 1;
    const auto anchorHere = [&] {
        DragAnchorX = static_cast<std::int32_t>(std::lround(X));
        DragAnchorY = static_cast<std::int32_t>(std::lround(Y));
    };
    if (ChangesWidth && Width() < 3400) {
        SetWidth(3400);
        anchorHere();
        return;
    }
    if (ChangesHeight && Height() < 3000) {
        SetHeight(3000);
        anchorHere();
        return;
    }
    const float newWidth = static_cast<float>(Width() - (DragAnchorX - X));
    const float newHeight = static_cast<float>(Height() - (DragAnchorY - Y));
    if (ChangesWidth && newWidth < 3400) return;
    if (ChangesHeight && newHeight < 3000) return;
    if (ChangesWidth) SetWidth(newWidth);
    if (ChangesHeight) SetHeight(newHeight);
}

void FrmMain::Picture5_MouseUp() {
    Resizing = 0;
    Form_Resize();
}

// Window buttons.

void FrmMain::picMax_Click() {
    Resizing = 0;
    MaxiWindow();
}

void FrmMain::picMin_Click() {
    SetWindowState(vbMinimized);
    frmDummy->SetWindowState(vbMinimized);
}

void FrmMain::picClose_Click() {
    SaveCompleteWhileClosing();
    frmDummy.Unload();
}

// The window manager's close (Alt+F4, a window list, a close request from another
// program) is one more close route: it saves and closes down through the carrier
// window as the close button does. Without a carrier to go through, the window
// unloads itself once the list is saved.
void FrmMain::Form_QueryUnload(int& Cancel, int UnloadMode) {
    if (UnloadMode != vbFormControlMenu) return;
    SaveCompleteWhileClosing();
    if (!frmDummy.Loaded()) return;
    frmDummy.Unload();
    Cancel = 1;
}
