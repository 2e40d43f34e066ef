#pragma once

#include "platform/form.h"

class FrmCleanup;
class FrmNewcookies;
class FrmCookies;
class FrmFilter;

// The default instances of the cookie trap's windows.
extern platform::FormSlot<FrmCleanup> frmCleanup;
extern platform::FormSlot<FrmNewcookies> frmNewcookies;
extern platform::FormSlot<FrmCookies> frmCookies;
extern platform::FormSlot<FrmFilter> frmFilter;
