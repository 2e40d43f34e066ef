#include "app/FrmPopup.h"

#include <cairomm/context.h>

#include <cmath>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "common/FormFont.h"
#include "platform/picture.h"
#include "platform/screen.h"

using namespace platform;

std::int16_t PopupChoice = 0;

namespace {

// A question mark in a blue disc, 32 x 32 pixels.
Picture QuestionIcon() {
    auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_ARGB32, 32, 32);
    auto cr = Cairo::Context::create(surface);
    cr->arc(16, 16, 15, 0, 2 * M_PI);
    cr->set_source_rgb(0.20, 0.42, 0.66);
    cr->fill_preserve();
    cr->set_source_rgb(0.12, 0.28, 0.48);
    cr->set_line_width(1);
    cr->stroke();
    cr->set_source_rgb(1, 1, 1);
    cr->select_font_face("Sans", Cairo::FONT_SLANT_NORMAL, Cairo::FONT_WEIGHT_BOLD);
    cr->set_font_size(22);
    Cairo::TextExtents extents;
    cr->get_text_extents("?", extents);
    cr->move_to(16 - extents.width / 2 - extents.x_bearing, 16 - extents.height / 2 - extents.y_bearing);
    cr->show_text("?");
    surface->flush();
    return Picture(surface);
}

}  // namespace

FrmPopup::FrmPopup()
    : Form(FormStyle{.borderless = false, .showInTaskbar = false, .resizable = false, .controlBox = false}) {
    SetCaption("Open Popup?");
    SetWidth(4815);
    SetHeight(1335);

    Picture1.PlaceIn(*this);
    Picture1.Move(240, 200, 480, 480);
    Picture1.SetPicture(QuestionIcon());

    // The dialog font of the window's design: its texts fit their boxes in it.
    SetFormFont(8, false, Label1, Label2, OKButton, CancelButton, Command1);

    Label1.PlaceIn(*this);
    Label1.Move(960, 120, 3735, 255);
    Label1.SetCaption("This website is attempting to open a pop-up window.");
    Label2.PlaceIn(*this);
    Label2.Move(960, 480, 3735, 255);
    Label2.SetCaption("How do you wish to open it?");

    // Placed in tab order: the focus goes from left to right.
    OKButton.PlaceIn(*this);
    OKButton.Move(120, 840, 1455, 375);
    OKButton.SetCaption("In new tab");
    OKButton.Click = [this] { OKButton_Click(); };
    CancelButton.PlaceIn(*this);
    CancelButton.Move(1680, 840, 1455, 375);
    CancelButton.SetCaption("In new browser");
    CancelButton.SetCancel(true);
    CancelButton.Click = [this] { CancelButton_Click(); };
    Command1.PlaceIn(*this);
    Command1.Move(3240, 840, 1455, 375);
    Command1.SetCaption("Do not open");
    Command1.Click = [this] { Command1_Click(); };
}

// Centred on the main window, or on the screen when there is none.
void FrmPopup::Form_Load() {
    if (auto* owner = frmMain.IfLoaded(); owner && owner->Visible()) {
        CentreOver(*this, *owner);
    } else {
        CentreOnScreen(*this);
    }
    OKButton.SetFocus();
}

void FrmPopup::Form_Unload(int& /*Cancel*/) { *answer_ = PopupChoice; }

void FrmPopup::OKButton_Click() {
    PopupChoice = 1;
    frmPopup.Unload();
}

void FrmPopup::CancelButton_Click() {
    PopupChoice = 2;
    frmPopup.Unload();
}

void FrmPopup::Command1_Click() {
    PopupChoice = 3;
    frmPopup.Unload();
}
