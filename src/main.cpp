#include <cstdio>
#include <string>

#include "app/Forms.h"
#include "platform/app.h"
#include "platform/error.h"
#include "platform/msgbox.h"
#include "platform/webkit_session.h"

int main(int argc, char** argv) {
    platform::Init(argc, argv);
    platform::webkit::StartEngine();
    try {
        // The start object: loading the splash window runs the whole start-up.
        frmSplash.Get();
    } catch (const platform::ToolkitError& error) {
        // Started from a desktop menu, nobody reads standard error.
        const std::string message =
            "Quellin could not start: run-time error " + std::to_string(error.Number()) + ": " + error.Description();
        std::fprintf(stderr, "%s\n", message.c_str());
        platform::MsgBox(message, platform::vbCritical);
        return 1;
    }
    platform::Run();
    return 0;
}
