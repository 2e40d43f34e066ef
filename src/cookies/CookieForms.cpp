#include "cookies/CookieForms.h"

#include "cookies/FrmCleanup.h"
#include "cookies/FrmCookies.h"
#include "cookies/FrmFilter.h"
#include "cookies/FrmNewcookies.h"

platform::FormSlot<FrmCleanup> frmCleanup;
platform::FormSlot<FrmNewcookies> frmNewcookies;
platform::FormSlot<FrmCookies> frmCookies;
platform::FormSlot<FrmFilter> frmFilter;
