#include "dialogs/Dialogs.h"

#include "dialogs/FrmAbout.h"
#include "dialogs/FrmAddLaunch.h"
#include "dialogs/FrmLaunch.h"
#include "dialogs/FrmOptions.h"

platform::FormSlot<FrmOptions> frmOptions;
platform::FormSlot<FrmLaunch> frmLaunch;
platform::FormSlot<FrmAddLaunch> frmAddLaunch;
platform::FormSlot<FrmAbout> frmAbout;
