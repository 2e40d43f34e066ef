#pragma once

#include "platform/form.h"
#include "platform/label.h"
#include "platform/picturebox.h"

// The splash window: the start object, shown while the main window loads.
class FrmSplash : public platform::Form {
public:
    FrmSplash();

    platform::PictureBox Picture1;
    platform::Label Label1;  // status line
    platform::Label Label2;  // version
    platform::Label Label3;

protected:
    void Form_Load() override;
    void Form_Resize() override;
};
