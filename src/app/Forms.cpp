#include "app/Forms.h"

platform::FormSlot<FrmSplash> frmSplash;
platform::FormSlot<FrmMain> frmMain;
platform::FormSlot<FrmDummy> frmDummy;
platform::FormSlot<FrmPopup> frmPopup;
platform::FormSlot<FrmMenu> frmMenu;
