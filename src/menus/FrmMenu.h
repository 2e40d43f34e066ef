#pragma once

#include "menus/MenuFrame.h"
#include "platform/control_array.h"
#include "platform/form.h"
#include "platform/label.h"
#include "platform/picturebox.h"

// The drop-down menu of the menu bar: one row label per item, separators drawn from
// the skin, a skinned frame. Loaded afresh for every opening (ShowMenu) and unloaded
// on every closing.
class FrmMenu : public platform::Form {
public:
    FrmMenu();

    // Highlights row Index and clears the others; -1 clears all.
    void ResetMenus(int Index);

    platform::ControlArray<platform::Label> mnuText;
    platform::ControlArray<platform::PictureBox> picSpacer;
    platform::PictureBox picTopLeft, picTopRight, picBotLeft, picBotRight;
    platform::PictureBox picTop, picBottom, picLeft, picRight;
    MenuFrame FramePieces() {
        return {picTopLeft, picTopRight, picBotLeft, picBotRight, picTop, picBottom, picLeft, picRight};
    }

    void mnuText_Click(int Index);
    void mnuText_MouseMove(int Index);
    void picSpacer_Click(int Index);
    void Form_Deactivate() override;

protected:
    void Form_Load() override;
    void Form_MouseMove(int Button, double X, double Y) override;
    void Form_Unload(int& Cancel) override;
};
