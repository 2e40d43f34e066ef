#include "dialogs/Dialogs.h"

#include "dialogs/FrmOptions.h"

platform::FormSlot<FrmOptions> frmOptions;
