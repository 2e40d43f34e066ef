#include <glib.h>

#include "app/Forms.h"
#include "app/State.h"
#include "platform/error.h"

using namespace platform;

void FrmMain::SaveComplete() {
    std::string text;
    for (const auto& address : Combo1.Items()) text += address + "\r\n";
    GError* error = nullptr;
    if (!g_file_set_contents(DataFile("autocomplete.dat").c_str(), text.data(), static_cast<gssize>(text.size()), &error)) {
        std::string message = error->message;
        g_error_free(error);
        throw ToolkitError(errors::PathFileAccessError, "Path/File access error: " + message);
    }
}

void FrmMain::SetAddressText() {
    std::string address = WebBrowser1(CurrentTab).LocationURL();
    for (auto at = address.find("%20"); at != std::string::npos; at = address.find("%20", at + 1))
        address.replace(at, 3, " ");
    if (address.size() >= 3 && g_ascii_strncasecmp(address.c_str(), "res", 3) == 0) {
        if (auto hash = address.find('#'); hash != std::string::npos) address = address.substr(hash + 1);
    }
    Combo1.SetText(address);
    picTab(CurrentTab).SetToolTipText(WebBrowser1(CurrentTab).LocationName() + " (" + address + ")");
}
