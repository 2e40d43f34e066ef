#include "app/TabLayout.h"

#include <algorithm>
#include <memory>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "common/General.h"
#include "common/TabLayoutFile.h"
#include "platform/error.h"
#include "platform/msgbox.h"

using namespace platform;

namespace TabLayout {

void SaveTabLayout(const std::string& Path) {
    if (General::FileExists(Path) &&
        MsgBox(std::string("The File already exists.") + "\r\n\r\n" + "Overwrite?", vbYesNo + vbQuestion,
               "Overwrite file?") != vbYes)
        return;
    auto& form = frmMain.Get();
    form.lstTabList.Clear();
    for (int i = 0; i <= form.WebBrowser1.UBound(); ++i)
        Try([&] { form.lstTabList.AddItem(form.WebBrowser1(i).LocationURL()); });

    std::string text = std::string(General::TabLayoutHeader) + "\r\n";
    for (const auto& address : form.lstTabList.Items()) text += address + "\r\n";
    try {
        // An old layout is never left half written.
        General::WriteWholeFile(Path, text);
    } catch (const ToolkitError& error) {
        // The user chose the file: they must not believe it was saved.
        MsgBox("The tab layout could not be saved.\r\n\r\n" + error.Description(), vbExclamation, "Save Tab Layout");
    }
}

void OpenTabLayout(const std::string& Path) {
    auto& form = frmMain.Get();
    form.lstTabList.Clear();
    // Nothing is touched until the whole file has been read.
    const auto addresses = General::ReadTabLayout(Path);
    if (!addresses) return;
    for (const auto& address : *addresses) form.lstTabList.AddItem(address);
    const int N = form.lstTabList.ListCount();

    if (const int upper = form.WebBrowser1.UBound(); upper != 0) {
        for (int i = 1; i <= upper; ++i) {
            CurrentTab = static_cast<std::int16_t>(i);
            Try([&] { form.DelTab(); });
        }
    }
    CurrentTab = 0;
    for (int i = 1; i <= N - 1; ++i) form.AddTab("about:blank");
    // Tabs the engine could not open are told apart; the lines for them are left out.
    const int opened = std::min(N - 1, form.WebBrowser1.UBound());
    for (int i = 0; i <= opened; ++i) form.WebBrowser1(i).Navigate(form.lstTabList.List(i));
    CurrentTab = 0;
    form.UpdateTabs();
    form.UpdateBrowsers();
}

}  // namespace TabLayout
