#pragma once

#include "platform/form.h"

class FrmSplash;
class FrmMain;
class FrmDummy;
class FrmPopup;
class FrmMenu;

// The default instances of the program's windows.
extern platform::FormSlot<FrmSplash> frmSplash;
extern platform::FormSlot<FrmMain> frmMain;
extern platform::FormSlot<FrmDummy> frmDummy;
extern platform::FormSlot<FrmPopup> frmPopup;
extern platform::FormSlot<FrmMenu> frmMenu;
