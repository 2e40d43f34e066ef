#pragma once

#include "platform/form.h"

class FrmOptions;
class FrmLaunch;
class FrmAddLaunch;
class FrmAbout;

// The default instances of the settings and auxiliary dialogs.
extern platform::FormSlot<FrmOptions> frmOptions;
extern platform::FormSlot<FrmLaunch> frmLaunch;
extern platform::FormSlot<FrmAddLaunch> frmAddLaunch;
extern platform::FormSlot<FrmAbout> frmAbout;

// Places a dialog over the middle of the window it belongs to and keeps it in
// front of that window, when that window is on the screen.
void CentreOnOwner(platform::Form& dialog, platform::Form* owner);
