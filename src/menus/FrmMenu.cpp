#include "menus/FrmMenu.h"

#include <glib.h>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "menus/MenuModule.h"
#include "menus/MenuState.h"
#include "platform/glib_ptr.h"

using namespace platform;

FrmMenu::FrmMenu() : Form(FormStyle{.borderless = true, .showInTaskbar = false, .resizable = false, .dropDown = true}) {
    SetWidth(3600);
    SetHeight(4800);
    mnuText.Create([this](Label& row, int index) {
        row.PlaceIn(*this);
        row.Move(240, 120, 615, 225);
        row.SetTransparent(true);
        row.Click = [this, index] { mnuText_Click(index); };
        row.MouseMove = [this, index](int, int, double, double) { mnuText_MouseMove(index); };
    });
    picSpacer.Create([this](PictureBox& spacer, int index) {
        spacer.PlaceIn(*this);
        spacer.Move(360, 4440, 3135, 255);
        spacer.Click = [this, index] { picSpacer_Click(index); };
    });
    for (PictureBox* corner : {&picTopLeft, &picTopRight, &picBotLeft, &picBotRight}) {
        corner->PlaceIn(*this);
        corner->Move(0, 0, 30, 30);
    }
    for (PictureBox* edge : {&picTop, &picBottom, &picLeft, &picRight}) {
        edge->PlaceIn(*this);
        edge->Move(0, 0, 30, 30);
    }
}

void FrmMenu::Form_Load() { DropMenuOpen = 1; }

void FrmMenu::ResetMenus(int Index) {
    mnuText.ForEach([&](Label& row, int i) {
        if (i == Index) {
            row.SetForeColor(MenuHighlightTextColour);
            row.SetTransparent(false);
            row.SetBackColor(MenuHighlightColour);
        } else {
            row.SetForeColor(MenuTextColour);
            row.SetTransparent(true);
        }
    });
}

void FrmMenu::mnuText_MouseMove(int Index) { ResetMenus(Index); }

void FrmMenu::Form_MouseMove(int /*Button*/, double /*X*/, double /*Y*/) { ResetMenus(-1); }

void FrmMenu::picSpacer_Click(int /*Index*/) { ResetMenus(-1); }

void FrmMenu::mnuText_Click(int Index) {
    MenuMode = 0;
    MenuItemIndex = static_cast<std::int16_t>(Index);
    // A launch name read from a file in another encoding is lower-cased byte by byte.
    const std::string& caption = mnuText(Index).Caption();
    const bool utf8 = g_utf8_validate(caption.c_str(), static_cast<gssize>(caption.size()), nullptr);
    MenuModule::MenuCommand(
        TakeGString(utf8 ? g_utf8_strdown(caption.c_str(), -1) : g_ascii_strdown(caption.c_str(), -1)));
    frmMain->ResetButtons(-1);
    frmMain->ResetMenus(frmMain->labDummy);
    // A command that opened a window has closed the menu already.
    frmMenu.Unload();
}

void FrmMenu::Form_Deactivate() {
    if (CurrentMenu != "favourites") {
        CurrentMenu = "";
        MenuMode = 0;
    }
    DropMenuOpen = 0;
    frmMenu.Unload();
    frmMain->ResetButtons(-1);
    frmMain->ResetMenus(frmMain->labDummy);
}

void FrmMenu::Form_Unload(int& /*Cancel*/) {
    CurrentMenu = "";
    DropMenuOpen = 0;
}
