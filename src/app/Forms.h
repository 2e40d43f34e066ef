#pragma once

#include "platform/form.h"

class FrmSplash;
class FrmMain;
class FrmDummy;

// The default instances of the program's windows.
extern platform::FormSlot<FrmSplash> frmSplash;
extern platform::FormSlot<FrmMain> frmMain;
extern platform::FormSlot<FrmDummy> frmDummy;

#include "app/FrmDummy.h"
#include "app/FrmMain.h"
#include "app/FrmSplash.h"
