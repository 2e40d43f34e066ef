#include "menus/MenuModule.h"

#include <string>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "common/Conversions.h"
#include "platform/error.h"

namespace MenuModule {

void ArrangeTabs() {
    auto& form = frmMain.Get();
    if (form.WebBrowser1.UBound() == 0) return;
    form.lstMenu.Clear();
    for (int i = 0; i <= form.WebBrowser1.UBound(); ++i) {
        // An index whose browser cannot be read is no live tab.
        platform::Try([&] {
            form.WebBrowser1(i).LocationName();
            form.lstMenu.AddItem(Conversions::Str(i));
        });
    }
    for (int k = 1; k <= form.lstMenu.ListCount() - 1; ++k) {
        const int index = static_cast<int>(Conversions::Val(form.lstMenu.List(k)));
        form.picTab(index).SetLeft(form.picTab(0).Left() + k * form.picTab(0).Width());
    }
}

}  // namespace MenuModule
