#include "app/Forms.h"

#include "app/FrmDummy.h"
#include "app/FrmMain.h"
#include "app/FrmPopup.h"
#include "app/FrmSplash.h"
#include "menus/FrmMenu.h"

platform::FormSlot<FrmSplash> frmSplash;
platform::FormSlot<FrmMain> frmMain;
platform::FormSlot<FrmDummy> frmDummy;
platform::FormSlot<FrmPopup> frmPopup;
platform::FormSlot<FrmMenu> frmMenu;
