#include "dialogs/Dialogs.h"

#include "dialogs/FrmAbout.h"
#include "dialogs/FrmAddLaunch.h"
#include "dialogs/FrmLaunch.h"
#include "dialogs/FrmOptions.h"
#include "platform/screen.h"

platform::FormSlot<FrmOptions> frmOptions;
platform::FormSlot<FrmLaunch> frmLaunch;
platform::FormSlot<FrmAddLaunch> frmAddLaunch;
platform::FormSlot<FrmAbout> frmAbout;

void CentreOnOwner(platform::Form& dialog, platform::Form* owner) {
    if (!owner || !owner->Visible()) return;
    dialog.Window().set_transient_for(owner->Window());
    platform::CentreOver(dialog, *owner);
}
