#pragma once

#include "platform/form.h"
#include "platform/timer.h"

// The taskbar carrier window: kept far off screen, it carries the program's
// taskbar button, mirrors minimise, restore and maximise onto the main window
// and passes the focus to it.
class FrmDummy : public platform::Form {
public:
    FrmDummy();

    platform::Timer Timer1;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_GotFocus() override;
    void Form_Unload(int& Cancel) override;

private:
    void Timer1_Timer();
};
