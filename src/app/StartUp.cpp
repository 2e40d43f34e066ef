#include "app/StartUp.h"

#include <cstdio>
#include <string>

#include "app/Forms.h"
#include "app/FrmSplash.h"
#include "platform/error.h"
#include "platform/msgbox.h"

bool StartUp() {
    try {
        frmSplash.Get();
        return true;
    } catch (const platform::ToolkitError& error) {
        const std::string message =
            "Quellin could not start: run-time error " + std::to_string(error.Number()) + ": " + error.Description();
        std::fprintf(stderr, "%s\n", message.c_str());
        platform::MsgBox(message, platform::vbCritical);
        return false;
    }
}
