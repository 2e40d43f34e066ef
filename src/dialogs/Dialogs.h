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
