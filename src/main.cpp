#include <cstdio>

#include "app/Forms.h"
#include "platform/app.h"
#include "platform/error.h"
#include "platform/webkit_session.h"

int main(int argc, char** argv) {
    platform::Init(argc, argv);
    platform::webkit::StartEngine();
    try {
        // The start object: loading the splash window runs the whole start-up.
        frmSplash.Get();
    } catch (const platform::ToolkitError& error) {
        std::fprintf(stderr, "Quellin could not start: run-time error %d: %s\n", error.Number(),
                     error.Description().c_str());
        return 1;
    }
    platform::Run();
    return 0;
}
